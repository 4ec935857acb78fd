// The signals that ask a program to end (SIGTERM from a session ending or from kill,
// SIGINT from Control-C, SIGHUP from a closing terminal), turned into B_QUIT_REQUESTED.
#pragma once

class BLooper;

namespace kit {

// While it exists, each of these signals posts B_QUIT_REQUESTED to the looper instead of
// ending the process: the signal handler only writes a byte to a pipe that the event loop
// watches, and the message is posted from the GUI thread. The signals' former handling
// comes back when it is destroyed. One at a time.
class QuitSignals {
public:
	explicit QuitSignals(BLooper* looper);
	~QuitSignals();

	QuitSignals(const QuitSignals&) = delete;
	QuitSignals& operator=(const QuitSignals&) = delete;

private:
	struct Private;
	Private* fPrivate;
};

} // namespace kit
