// A text control: a label on the left and a one-line text field on the right. The control
// is invoked when the user commits the text: on Enter, or on leaving the field after
// changing it. Setting the text from the program commits nothing.
#pragma once

#include <string>

#include "Control.h"

class BTextControl : public BControl {
public:
	BTextControl(BRect frame, const char* name, const char* label, const char* text,
		BMessage* message, uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	~BTextControl() override;

	// The text as it stands in the field, whether typed or set.
	const char* Text() const { return fText.c_str(); }
	virtual void SetText(const char* text);

protected:
	kit::ViewBridge* _CreateBridge() override;

private:
	friend class TextControlBridge;

	std::string fText;
};
