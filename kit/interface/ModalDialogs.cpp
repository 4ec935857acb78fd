#include "ModalDialogs.h"

#include <QDialog>
#include <QPointer>

#include <atomic>
#include <vector>

namespace kit {

namespace {

// All of this lives on the GUI thread, where dialogs run.
std::vector<QPointer<QDialog>> sOpen;
std::vector<std::function<void()>> sWhenClosed;
bool sQuitting = false;
// Read by tests from other threads.
std::atomic<int> sCount{0};

void call_when_closed()
{
	std::vector<std::function<void()>> waiting;
	waiting.swap(sWhenClosed);
	for (auto& done : waiting)
		done();
}

} // namespace

int RunModal(QDialog* dialog)
{
	if (sQuitting)
		return QDialog::Rejected;
	sOpen.push_back(dialog);
	sCount = int(sOpen.size());
	// exec() waits for events, leaving the processor idle.
	int result = dialog->exec();
	std::erase(sOpen, QPointer<QDialog>(dialog));
	sCount = int(sOpen.size());
	if (sOpen.empty())
		call_when_closed();
	return result;
}

void QuitRequestArrived()
{
	sQuitting = true;
	// Innermost first: each reject() ends that dialog's loop; the loops unwind as the
	// handlers that opened them return.
	std::vector<QPointer<QDialog>> open = sOpen;
	for (auto it = open.rbegin(); it != open.rend(); ++it) {
		if (*it != nullptr)
			(*it)->reject();
	}
}

void QuitRequestAnswered()
{
	sQuitting = false;
}

int CountModalDialogs()
{
	return sCount;
}

void WhenModalDialogsClosed(std::function<void()> done)
{
	if (sOpen.empty())
		done();
	else
		sWhenClosed.push_back(std::move(done));
}

} // namespace kit
