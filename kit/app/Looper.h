// A looper owns a queue of messages and dispatches them, one at a time and in order, to its
// handlers. All loopers of the program are dispatched on the one GUI thread; each keeps its
// own queue, and a looper that is busy handling a message (for example inside a synchronous
// alert) holds its queue until it returns, while the other loopers go on.
#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "Handler.h"
#include "Message.h"

namespace kit {
class LooperPump;
}

class BLooper : public BHandler {
public:
	explicit BLooper(const char* name = nullptr);
	~BLooper() override;

	// Takes ownership of the message. handler null means the looper itself.
	status_t PostMessage(
		BMessage* message, BHandler* handler = nullptr, BHandler* replyTo = nullptr);
	status_t PostMessage(uint32 command, BHandler* handler = nullptr, BHandler* replyTo = nullptr);

	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	void MessageReceived(BMessage* message) override;

	// The message being dispatched, or null between messages.
	BMessage* CurrentMessage() const { return fCurrentMessage; }

	void AddHandler(BHandler* handler);
	bool RemoveHandler(BHandler* handler);
	int32 CountHandlers() const { return int32(fHandlers.size()); }

	// Everything runs on one thread, so locking only counts; it never blocks.
	bool Lock();
	void Unlock();
	bool IsLocked() const { return fLockCount > 0; }

	virtual bool QuitRequested();
	// Stops the looper and deletes it once the message being dispatched (if any) is done.
	virtual void Quit();

	int32 CountQueuedMessages() const { return int32(fQueue.size()); }
	bool IsDispatching() const { return fDispatchDepth > 0; }

protected:
	// Adds a message to the queue; the kit schedules its dispatch.
	void _Enqueue(std::unique_ptr<BMessage> message, int32 handlerToken);

private:
	friend class kit::LooperPump;
	friend class BMessenger;

	struct Envelope {
		std::unique_ptr<BMessage> message;
		int32 handlerToken; // 0: the looper itself
	};

	void _DispatchNext();
	void _Schedule();
	void _QuitIfRequested();

	std::deque<Envelope> fQueue;
	std::vector<BHandler*> fHandlers;
	BMessage* fCurrentMessage;
	int32 fLockCount;
	int32 fDispatchDepth;
	bool fQuitting;
	bool fScheduled;
	kit::LooperPump* fPump;
};
