#include "Invoker.h"

#include <chrono>

BInvoker::BInvoker() = default;

BInvoker::BInvoker(BMessage* message, const BHandler* handler, const BLooper* looper)
	: fMessage(message)
{
	if (handler != nullptr || looper != nullptr)
		fMessenger = BMessenger(handler, looper);
}

BInvoker::~BInvoker() = default;

status_t BInvoker::SetMessage(BMessage* message)
{
	fMessage.reset(message);
	return B_OK;
}

status_t BInvoker::SetTarget(const BHandler* handler, const BLooper* looper)
{
	status_t status;
	fMessenger = BMessenger(handler, looper, &status);
	return status;
}

status_t BInvoker::SetTarget(BMessenger messenger)
{
	fMessenger = messenger;
	return B_OK;
}

BHandler* BInvoker::Target(BLooper** looper) const
{
	return fMessenger.Target(looper);
}

status_t BInvoker::Invoke(BMessage* message)
{
	BMessage* source = message != nullptr ? message : fMessage.get();
	if (source == nullptr)
		return B_BAD_VALUE;
	BMessage copy(*source);
	auto now = std::chrono::steady_clock::now().time_since_epoch();
	copy.AddInt64("when", std::chrono::duration_cast<std::chrono::microseconds>(now).count());
	// Receivers cast "source" to the class they know the sender to be (a BMenuItem, a
	// BControl), so it must be the address of the whole object, not of its BInvoker part,
	// which in a control sits behind the BView.
	copy.AddPointer("source", dynamic_cast<const void*>(this));
	_AddInvocationFields(&copy);
	return fMessenger.SendMessage(&copy);
}
