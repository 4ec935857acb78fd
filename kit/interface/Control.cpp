#include "Control.h"

#include "ControlBridge.h"
#include "Window.h"

BControl::BControl(BRect frame, const char* name, const char* label, BMessage* message,
	uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags), BInvoker(message, nullptr),
	  fLabel(label ? label : "")
{
}

BControl::~BControl() = default;

void BControl::SetLabel(const char* label)
{
	fLabel = label ? label : "";
	if (auto* bridge = dynamic_cast<kit::ControlBridge*>(_Bridge()))
		bridge->LabelChanged();
}

void BControl::AttachedToWindow()
{
	if (!Messenger().IsValid())
		SetTarget(Window());
}
