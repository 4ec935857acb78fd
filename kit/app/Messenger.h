// A messenger names a handler (and its looper) and delivers messages to it. It stays safe
// to use after the handler is gone: sending then fails with B_BAD_HANDLER.
#pragma once

#include "Message.h"

class BLooper;

class BMessenger {
public:
	BMessenger();
	// handler null and looper given: the looper itself. Both null: invalid.
	explicit BMessenger(
		const BHandler* handler, const BLooper* looper = nullptr, status_t* result = nullptr);

	bool IsValid() const;
	BHandler* Target(BLooper** looper) const;

	// Queues a copy of the message for the target. replyTo names the handler that receives
	// replies to it. The timeout is accepted for compatibility: queuing never blocks.
	status_t SendMessage(BMessage* message, BHandler* replyTo = nullptr,
		bigtime_t timeout = B_INFINITE_TIMEOUT) const;
	status_t SendMessage(uint32 command, BHandler* replyTo = nullptr) const;

	bool operator==(const BMessenger& other) const
	{
		return fHandlerToken == other.fHandlerToken && fLooperToken == other.fLooperToken;
	}

private:
	int32 fHandlerToken; // 0: the looper itself
	int32 fLooperToken;
};
