// A push button: the control is invoked when the user clicks it.
#pragma once

#include "Control.h"

class BButton : public BControl {
public:
	BButton(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	~BButton() override;

protected:
	kit::ViewBridge* _CreateBridge() override;
};
