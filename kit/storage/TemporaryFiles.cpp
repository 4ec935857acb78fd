#include "TemporaryFiles.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstring>
#include <mutex>

namespace kit {

namespace {

const int kSlots = 32;
const int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};

// A slot is filled before it is marked used, and unmarked before it is reused, so the
// handler only ever reads whole paths.
struct Slot {
	std::atomic<bool> used{false};
	char path[PATH_MAX];
};
Slot sSlots[kSlots];
std::mutex sSlotsLock;

void remove_temporaries_and_end(int signal)
{
	for (Slot& slot : sSlots) {
		if (slot.used.load())
			::unlink(slot.path);
	}
	::signal(signal, SIG_DFL);
	::raise(signal);
}

// Catches the ending signals that still have their default handling.
void catch_ending_signals()
{
	for (int signal : kEndingSignals) {
		struct sigaction current = {};
		if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL
			|| (current.sa_flags & SA_SIGINFO) != 0)
			continue;
		struct sigaction action = {};
		action.sa_handler = remove_temporaries_and_end;
		sigemptyset(&action.sa_mask);
		for (int other : kEndingSignals)
			sigaddset(&action.sa_mask, other);
		action.sa_flags = SA_RESTART;
		::sigaction(signal, &action, nullptr);
	}
}

} // namespace

int RegisterTemporaryFile(const std::string& path)
{
	if (path.size() >= PATH_MAX)
		return -1;
	std::lock_guard<std::mutex> lock(sSlotsLock);
	catch_ending_signals();
	for (int i = 0; i < kSlots; i++) {
		if (!sSlots[i].used.load()) {
			std::memcpy(sSlots[i].path, path.c_str(), path.size() + 1);
			sSlots[i].used.store(true);
			return i;
		}
	}
	return -1;
}

void ForgetTemporaryFile(int slot)
{
	if (slot < 0 || slot >= kSlots)
		return;
	std::lock_guard<std::mutex> lock(sSlotsLock);
	sSlots[slot].used.store(false);
}

} // namespace kit
