#include <QSocketNotifier>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "AppDefs.h"
#include "Looper.h"
#include "Messenger.h"
#include "QuitSignals.h"

namespace kit {

namespace {

const int kQuitSignals[] = {SIGTERM, SIGINT, SIGHUP};
const int kQuitSignalCount = int(sizeof(kQuitSignals) / sizeof(kQuitSignals[0]));

// The pipe's writing end, for the handler; -1 while no QuitSignals exists.
volatile sig_atomic_t sWriteEnd = -1;

// Only what is safe in a signal handler: one write, errno kept as it was.
void on_quit_signal(int signal)
{
	int saved = errno;
	int fd = sWriteEnd;
	if (fd >= 0) {
		const unsigned char byte = static_cast<unsigned char>(signal);
		ssize_t ignored = ::write(fd, &byte, 1);
		(void)ignored;
	}
	errno = saved;
}

} // namespace

struct QuitSignals::Private {
	int pipe[2] = {-1, -1};
	QSocketNotifier* notifier = nullptr;
	struct sigaction former[kQuitSignalCount];
	bool installed = false;
};

QuitSignals::QuitSignals(BLooper* looper) : fPrivate(new Private)
{
	if (::pipe2(fPrivate->pipe, O_CLOEXEC | O_NONBLOCK) != 0)
		return;
	const int readEnd = fPrivate->pipe[0];
	BMessenger target(nullptr, looper);
	fPrivate->notifier = new QSocketNotifier(readEnd, QSocketNotifier::Read);
	QObject::connect(fPrivate->notifier, &QSocketNotifier::activated, [readEnd, target] {
		unsigned char bytes[64];
		bool any = false;
		while (::read(readEnd, bytes, sizeof(bytes)) > 0)
			any = true;
		// However many signals came, one request: the quit sequence ignores more while it
		// runs or waits anyway.
		if (any)
			target.SendMessage(B_QUIT_REQUESTED);
	});

	sWriteEnd = fPrivate->pipe[1];
	struct sigaction action = {};
	action.sa_handler = on_quit_signal;
	sigemptyset(&action.sa_mask);
	action.sa_flags = SA_RESTART;
	for (int i = 0; i < kQuitSignalCount; i++) {
		::sigaction(kQuitSignals[i], nullptr, &fPrivate->former[i]);
		// A signal the program was started ignoring (SIGHUP under nohup, SIGINT for a job
		// that a script put in the background) stays ignored.
		if (fPrivate->former[i].sa_handler != SIG_IGN)
			::sigaction(kQuitSignals[i], &action, nullptr);
	}
	fPrivate->installed = true;
}

QuitSignals::~QuitSignals()
{
	if (fPrivate->installed) {
		for (int i = 0; i < kQuitSignalCount; i++)
			::sigaction(kQuitSignals[i], &fPrivate->former[i], nullptr);
	}
	sWriteEnd = -1;
	delete fPrivate->notifier;
	for (int fd : fPrivate->pipe) {
		if (fd >= 0)
			::close(fd);
	}
	delete fPrivate;
}

} // namespace kit
