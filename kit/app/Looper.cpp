#include "Looper.h"

#include <QCoreApplication>

#include <algorithm>

#include "Application.h"
#include "HandlerRegistry.h"
#include "LooperPump.h"
#include "LooperRegistry.h"
#include "ModalDialogs.h"
#include "QtApplication.h"
#include "ReplyEndpoint.h"
#include "TestingHooks.h"

namespace kit {

QEvent::Type LooperPump::DispatchEventType()
{
	static const QEvent::Type type = QEvent::Type(QEvent::registerEventType());
	return type;
}

void LooperPump::customEvent(QEvent* event)
{
	if (event->type() == DispatchEventType())
		fLooper->_DispatchNext();
}

std::vector<BLooper*>& Loopers()
{
	static std::vector<BLooper*> all;
	return all;
}

} // namespace kit

BLooper::BLooper(const char* name)
	: BHandler(name), fCurrentMessage(nullptr), fLockCount(0), fDispatchDepth(0), fQuitting(false),
	  fScheduled(false), fPump(nullptr)
{
	kit::EnsureQtApplication();
	fPump = new kit::LooperPump(this);
	AddHandler(this);
	kit::Loopers().push_back(this);
}

BLooper::~BLooper()
{
	auto& all = kit::Loopers();
	all.erase(std::remove(all.begin(), all.end(), this), all.end());
	// Handlers that outlive their looper must not point back at it.
	for (BHandler* handler : fHandlers)
		handler->fLooper = nullptr;
	fHandlers.clear();
	// Deleting the pump also discards its pending wake-up events.
	delete fPump;
}

status_t BLooper::PostMessage(BMessage* message, BHandler* handler, BHandler* replyTo)
{
	if (message == nullptr)
		return B_BAD_VALUE;
	if (handler != nullptr && handler->Looper() != this)
		return B_MISMATCHED_VALUES;
	auto copy = std::make_unique<BMessage>(*message);
	// A reply handler given now wins; otherwise the message keeps the way back it has
	// (a drop's, whose source answers for itself).
	if (replyTo != nullptr)
		kit::ReplyEndpoint::Attach(
			*copy, std::make_shared<kit::MessengerEndpoint>(BMessenger(replyTo)));
	_Enqueue(std::move(copy), handler == nullptr || handler == this ? 0 : handler->Token());
	return B_OK;
}

status_t BLooper::PostMessage(uint32 command, BHandler* handler, BHandler* replyTo)
{
	BMessage message(command);
	return PostMessage(&message, handler, replyTo);
}

void BLooper::_Enqueue(std::unique_ptr<BMessage> message, int32 handlerToken)
{
	if (fQuitting)
		return;
	// A quit request for the application closes the modal dialogs first: a dialog's loop
	// may be holding this looper, or the looper that must answer the request.
	if (message->what == B_QUIT_REQUESTED && be_app != nullptr
		&& static_cast<BLooper*>(be_app) == this)
		kit::QuitRequestArrived();
	fQueue.push_back(Envelope{std::move(message), handlerToken});
	_Schedule();
}

void BLooper::_Schedule()
{
	if (fScheduled || fQueue.empty() || fQuitting)
		return;
	fScheduled = true;
	QCoreApplication::postEvent(fPump, new QEvent(kit::LooperPump::DispatchEventType()));
}

void BLooper::_DispatchNext()
{
	fScheduled = false;
	// A looper inside one of its own handlers (a synchronous alert, say) holds its queue;
	// the outer dispatch reschedules it when it returns.
	if (fDispatchDepth > 0 || fQueue.empty() || fQuitting)
		return;

	Envelope envelope = std::move(fQueue.front());
	fQueue.pop_front();

	BHandler* handler =
		envelope.handlerToken == 0 ? this : kit::LookUpHandler(envelope.handlerToken);
	if (handler != nullptr && handler->Looper() == this) {
		BMessage* previous = fCurrentMessage;
		fCurrentMessage = envelope.message.get();
		fDispatchDepth++;
		if (auto& observe = kit::hooks::DispatchObserver())
			observe(handler, *envelope.message);
		DispatchMessage(envelope.message.get(), handler);
		fDispatchDepth--;
		fCurrentMessage = previous;
	}

	if (fQuitting) {
		if (fDispatchDepth == 0)
			delete this;
		return;
	}
	_Schedule();
}

void BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler != this) {
		handler->MessageReceived(message);
		return;
	}
	switch (message->what) {
		case B_QUIT_REQUESTED:
			_QuitIfRequested();
			break;
		default:
			MessageReceived(message);
			break;
	}
}

void BLooper::_QuitIfRequested()
{
	if (QuitRequested())
		Quit();
}

void BLooper::MessageReceived(BMessage* message)
{
	BHandler::MessageReceived(message);
}

void BLooper::AddHandler(BHandler* handler)
{
	if (handler == nullptr || handler->fLooper == this)
		return;
	if (handler->fLooper != nullptr)
		handler->fLooper->RemoveHandler(handler);
	handler->fLooper = this;
	fHandlers.push_back(handler);
}

bool BLooper::RemoveHandler(BHandler* handler)
{
	for (auto it = fHandlers.begin(); it != fHandlers.end(); ++it) {
		if (*it == handler) {
			fHandlers.erase(it);
			handler->fLooper = nullptr;
			return true;
		}
	}
	return false;
}

bool BLooper::Lock()
{
	fLockCount++;
	return true;
}

void BLooper::Unlock()
{
	if (fLockCount > 0)
		fLockCount--;
}

bool BLooper::QuitRequested()
{
	return true;
}

void BLooper::Quit()
{
	if (fQuitting)
		return;
	fQuitting = true;
	fQueue.clear();
	if (fDispatchDepth == 0)
		delete this;
}
