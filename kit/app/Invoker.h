// An invoker holds a message and a target; Invoke() sends a copy of the message to it.
#pragma once

#include <memory>

#include "Messenger.h"

class BInvoker {
public:
	BInvoker();
	BInvoker(BMessage* message, const BHandler* handler, const BLooper* looper = nullptr);
	virtual ~BInvoker();

	// Takes ownership of the message.
	virtual status_t SetMessage(BMessage* message);
	BMessage* Message() const { return fMessage.get(); }
	uint32 Command() const { return fMessage ? fMessage->what : 0; }

	virtual status_t SetTarget(const BHandler* handler, const BLooper* looper = nullptr);
	status_t SetTarget(BMessenger messenger);
	BHandler* Target(BLooper** looper = nullptr) const;
	BMessenger Messenger() const { return fMessenger; }

	// Sends the given message, or the invoker's own, with the fields "when" and "source"
	// that the platform adds to every invocation. "source" points to the whole invoking
	// object (the menu item, the control).
	virtual status_t Invoke(BMessage* message = nullptr);

protected:
	// Lets subclasses add fields (such as a menu item's "index") to each invocation.
	virtual void _AddInvocationFields(BMessage* message) {}

private:
	std::unique_ptr<BMessage> fMessage;
	BMessenger fMessenger;
};
