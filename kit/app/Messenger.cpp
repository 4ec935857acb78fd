#include "Messenger.h"

#include "HandlerRegistry.h"
#include "Looper.h"
#include "ReplyEndpoint.h"

BMessenger::BMessenger() : fHandlerToken(0), fLooperToken(0)
{
}

BMessenger::BMessenger(const BHandler* handler, const BLooper* looper, status_t* result)
	: fHandlerToken(0), fLooperToken(0)
{
	status_t status = B_OK;
	if (handler != nullptr) {
		fHandlerToken = handler->Token();
		if (looper != nullptr)
			fLooperToken = looper->Token();
	} else if (looper != nullptr) {
		fLooperToken = looper->Token();
	} else {
		status = B_BAD_VALUE;
	}
	if (result)
		*result = status;
}

BHandler* BMessenger::Target(BLooper** looperOut) const
{
	BHandler* handler = nullptr;
	BLooper* looper = nullptr;
	if (fHandlerToken != 0) {
		handler = kit::LookUpHandler(fHandlerToken);
		if (handler != nullptr)
			looper = handler->Looper();
		if (fLooperToken != 0 && looper != kit::LookUpHandler(fLooperToken))
			looper = nullptr;
	} else if (fLooperToken != 0) {
		looper = dynamic_cast<BLooper*>(kit::LookUpHandler(fLooperToken));
		handler = looper;
	}
	if (looper == nullptr)
		handler = nullptr;
	if (looperOut)
		*looperOut = looper;
	return handler;
}

bool BMessenger::IsValid() const
{
	BLooper* looper;
	return Target(&looper) != nullptr;
}

status_t BMessenger::SendMessage(BMessage* message, BHandler* replyTo, bigtime_t) const
{
	if (message == nullptr)
		return B_BAD_VALUE;
	BLooper* looper;
	BHandler* handler = Target(&looper);
	if (handler == nullptr)
		return B_BAD_HANDLER;
	auto copy = std::make_unique<BMessage>(*message);
	// A reply handler given now wins; otherwise the message keeps the way back it has
	// (a drop's, whose source answers for itself).
	if (replyTo != nullptr)
		kit::ReplyEndpoint::Attach(
			*copy, std::make_shared<kit::MessengerEndpoint>(BMessenger(replyTo)));
	looper->_Enqueue(std::move(copy), handler == looper ? 0 : handler->Token());
	return B_OK;
}

status_t BMessenger::SendMessage(uint32 command, BHandler* replyTo) const
{
	BMessage message(command);
	return SendMessage(&message, replyTo);
}

namespace kit {

ReplyEndpoint::~ReplyEndpoint() = default;

void ReplyEndpoint::Attach(BMessage& message, std::shared_ptr<ReplyEndpoint> endpoint)
{
	message.fReplyEndpoint = std::move(endpoint);
}

void ReplyEndpoint::MarkDropped(BMessage& message, bool dropped)
{
	message.fWasDropped = dropped;
}

status_t MessengerEndpoint::Deliver(const BMessage& reply, BHandler* replyTo)
{
	BMessage copy(reply);
	return fTarget.SendMessage(&copy, replyTo);
}

} // namespace kit
