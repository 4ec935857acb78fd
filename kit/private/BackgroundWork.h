// What the rest of the kit needs to know about background tasks (BackgroundTask.h).
#pragma once

#include <functional>

namespace kit {

// Calls function on the GUI thread once no background task is running any more, after the
// done message of the last one has been sent; at once when none runs.
void WhenBackgroundWorkDone(std::function<void()> function);

// Waits, without running the event loop, until the work of every running task has
// returned, then sends their done messages. For the application as it is destroyed.
void FinishBackgroundWork();

} // namespace kit
