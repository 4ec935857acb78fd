#include "Application.h"

#include <QApplication>
#include <QEventLoop>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <string>

#include "BackgroundTask.h"
#include "BackgroundWork.h"
#include "MessageEndpoint.h"
#include "ModalDialogs.h"
#include "QtApplication.h"
#include "QuitSignals.h"
#include "Utf8Text.h"
#include "Window.h"
#include "WindowRegistry.h"

BApplication* be_app = nullptr;

BMessenger be_app_messenger()
{
	return BMessenger(nullptr, be_app);
}

struct BApplication::Private {
	QEventLoop* loop = nullptr;
	bool quitBeforeRun = false;
	// A quit was asked for while background work ran; it is asked again once all is done.
	bool quitAfterWork = false;
	std::unique_ptr<BMessageEndpoint> endpoint;
};

BApplication::BApplication(const char* signature)
	: BLooper("application"), fSignature(signature ? signature : ""), fRunning(false),
	  fQuitSequenceRunning(false), fPrivate(new Private)
{
	// BLooper has made the Qt application already, before the signature was known.
	kit::NameQtApplication(fSignature.c_str());
	be_app = this;
	// No quit of an earlier application object is under way.
	kit::QuitRequestAnswered();
}

BApplication::~BApplication()
{
	// Other programs can no longer reach a handler once the application is going.
	fPrivate->endpoint.reset();
	// Work still running in the background (a file being written) ends first; what it
	// reports reaches only windows that are still open.
	if (BBackgroundTask::CountRunning() > 0)
		kit::FinishBackgroundWork();
	// Windows still open at this point (the loop never ran, or a test ended early) go with
	// the application, as they would with the platform's process.
	std::vector<BWindow*> windows = kit::Windows();
	for (BWindow* window : windows)
		window->Quit();
	delete fPrivate;
	if (be_app == this)
		be_app = nullptr;
}

thread_id_t BApplication::Run()
{
	if (fPrivate->quitBeforeRun)
		return 0;
	fRunning = true;
	PostMessage(B_READY_TO_RUN);
	QEventLoop loop;
	fPrivate->loop = &loop;
	// While the loop runs, the signals that ask a program to end take the way of "Quit".
	kit::QuitSignals quitSignals(this);
	loop.exec();
	fPrivate->loop = nullptr;
	fRunning = false;
	return 0;
}

void BApplication::Quit()
{
	// The application object belongs to main, which destroys it once Run() returns.
	if (fPrivate->loop != nullptr)
		fPrivate->loop->exit(0);
	else
		fPrivate->quitBeforeRun = true;
}

bool BApplication::QuitRequested()
{
	// Ask every window in turn; the first that refuses stops the sequence. Each window that
	// agrees is closed at once, so a window's QuitRequested sees the others as they are.
	std::vector<BWindow*> windows = kit::Windows();
	for (BWindow* window : windows) {
		auto& live = kit::Windows();
		if (std::find(live.begin(), live.end(), window) == live.end())
			continue;
		if (!window->QuitRequested())
			return false;
		window->Quit();
	}
	return true;
}

void BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler != this) {
		BLooper::DispatchMessage(message, handler);
		return;
	}
	switch (message->what) {
		case B_READY_TO_RUN:
			ReadyToRun();
			break;
		case B_REFS_RECEIVED:
			RefsReceived(message);
			break;
		case B_ABOUT_REQUESTED:
			AboutRequested();
			break;
		case B_QUIT_REQUESTED:
			_RunQuitSequence();
			break;
		default:
			BLooper::DispatchMessage(message, handler);
			break;
	}
}

void BApplication::_RunQuitSequence()
{
	// A request that comes while the sequence runs is dropped: the running one decides.
	if (fQuitSequenceRunning)
		return;
	// Background work (a file being written) is finished first, with every window still
	// there to show its progress; then the request is made again.
	if (BBackgroundTask::CountRunning() > 0) {
		if (!fPrivate->quitAfterWork) {
			fPrivate->quitAfterWork = true;
			BMessenger self(nullptr, this);
			kit::WhenBackgroundWorkDone([self] { self.SendMessage(B_QUIT_REQUESTED); });
		}
		return;
	}
	// A modal dialog still on its way out (rejected by the request, its loop not yet
	// returned) holds the handler that opened it: the request is made again once it has.
	if (kit::CountModalDialogs() > 0) {
		BMessenger self(nullptr, this);
		kit::WhenModalDialogsClosed([self] { self.SendMessage(B_QUIT_REQUESTED); });
		return;
	}
	fPrivate->quitAfterWork = false;
	fQuitSequenceRunning = true;
	// The windows are asked now: a dialog one of them shows to answer is shown.
	kit::QuitRequestAnswered();
	if (QuitRequested())
		Quit();
	fQuitSequenceRunning = false;
}

void BApplication::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}

void BApplication::ReadyToRun()
{
}

void BApplication::RefsReceived(BMessage*)
{
}

void BApplication::AboutRequested()
{
}

void BApplication::ArgvReceived(int32, char**)
{
}

status_t BApplication::GetAppInfo(app_info* info) const
{
	if (info == nullptr)
		return B_BAD_VALUE;
	*info = app_info();
	info->team = getpid();
	kit::CopyUtf8(info->signature, sizeof(info->signature) - 1, fSignature);
	char path[PATH_MAX];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0)
		return B_ERROR;
	path[length] = '\0';
	std::string full(path);
	size_t slash = full.rfind('/');
	info->ref = entry_ref(slash == 0 ? "/" : full.substr(0, slash), full.substr(slash + 1));
	return B_OK;
}

status_t BApplication::PublishMessageTarget(
	BHandler* handler, const std::vector<uint32>& applicationCodes)
{
	if (!fPrivate->endpoint)
		fPrivate->endpoint = std::make_unique<BMessageEndpoint>(fSignature.c_str());
	fPrivate->endpoint->SetTarget(handler);
	for (uint32 code : applicationCodes)
		fPrivate->endpoint->SendToApplication(code);
	return fPrivate->endpoint->Publish();
}

int32 BApplication::CountWindows() const
{
	return int32(kit::Windows().size());
}

BWindow* BApplication::WindowAt(int32 index) const
{
	auto& windows = kit::Windows();
	if (index < 0 || size_t(index) >= windows.size())
		return nullptr;
	return windows[index];
}
