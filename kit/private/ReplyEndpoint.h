// Where the replies to a message go. A message sent through a messenger with a reply
// handler carries an endpoint that queues replies for that handler; a drop carries an
// endpoint that answers for the drag source; tests install endpoints that record replies.
#pragma once

#include <functional>
#include <memory>

#include "Messenger.h"

namespace kit {

class ReplyEndpoint {
public:
	virtual ~ReplyEndpoint();
	// Delivers a copy of reply; replyTo is the handler that should receive its answer.
	virtual status_t Deliver(const BMessage& reply, BHandler* replyTo) = 0;

	static void Attach(BMessage& message, std::shared_ptr<ReplyEndpoint> endpoint);
	static void MarkDropped(BMessage& message, bool dropped);
};

// Replies queued for a handler through a messenger.
class MessengerEndpoint : public ReplyEndpoint {
public:
	explicit MessengerEndpoint(const BMessenger& target) : fTarget(target) {}
	status_t Deliver(const BMessage& reply, BHandler* replyTo) override;
	const BMessenger& Target() const { return fTarget; }

private:
	BMessenger fTarget;
};

// Replies handed to a function: used for drag sources and by tests.
class FunctionEndpoint : public ReplyEndpoint {
public:
	using Function = std::function<status_t(const BMessage& reply, BHandler* replyTo)>;
	explicit FunctionEndpoint(Function function) : fFunction(std::move(function)) {}
	status_t Deliver(const BMessage& reply, BHandler* replyTo) override
	{
		return fFunction(reply, replyTo);
	}

private:
	Function fFunction;
};

} // namespace kit
