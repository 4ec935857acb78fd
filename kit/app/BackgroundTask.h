// Long work off the GUI thread.
//
// Every looper is dispatched on the one GUI thread, so a handler that works for seconds (an
// export of a big picture) would freeze every window meanwhile. A BBackgroundTask runs such
// work on a thread of its own. The work must not touch loopers, handlers, windows or views:
// it works on what it was given (a copy of what it needs) and tells the task how far it has
// come. The task reports to a handler with messages, dispatched on the GUI thread like any
// other:
//   - while the work runs, the progress message, if one was given: first once firstReport
//     has passed (so that quick work shows nothing), then every reportInterval, each with
//     the int64 "done" and "total" that the work last set;
//   - once the work has returned, the done message, with the work's result added as the
//     int32 "status".
// A target that has gone away meanwhile misses the messages; the work still runs to its
// end. The application lets every running task finish before it quits, and waits for them
// when it is destroyed, so work that writes a file always ends with the file complete.
#pragma once

#include <functional>

#include "Message.h"
#include "Messenger.h"

namespace kit {
class TaskCourier;
}

class BBackgroundTask {
public:
	using Work = std::function<status_t(BBackgroundTask* task)>;

	// Starts the work on a thread of its own; called on the GUI thread, as handlers are.
	// B_OK once it runs; B_BAD_VALUE without work; B_NO_MEMORY when no thread can be had
	// (the work then never runs). Times are in microseconds.
	static status_t Start(Work work, const BMessenger& target, const BMessage& done,
		const BMessage* progress = nullptr, bigtime_t firstReport = 500000,
		bigtime_t reportInterval = 100000);

	// How many tasks have started whose done message has not been sent yet.
	static int32 CountRunning();

	// For the work, from its own thread: how much there is to do, and how much of it is
	// done, in any unit the work likes.
	void SetProgress(int64 done, int64 total);

	BBackgroundTask(const BBackgroundTask&) = delete;
	BBackgroundTask& operator=(const BBackgroundTask&) = delete;

private:
	friend class kit::TaskCourier;

	BBackgroundTask();
	~BBackgroundTask();
	void _Report();

	struct Private;
	Private* fPrivate;
};
