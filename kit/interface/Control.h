// A control: a view that the user operates, and an invoker that tells its target when that
// happens. The control owns its message. A control that has no target when it is attached
// reports to its window, as the platform's controls do.
#pragma once

#include <string>

#include "Invoker.h"
#include "View.h"

class BControl : public BView, public BInvoker {
public:
	BControl(BRect frame, const char* name, const char* label, BMessage* message,
		uint32 resizingMode, uint32 flags);
	~BControl() override;

	const char* Label() const { return fLabel.c_str(); }
	virtual void SetLabel(const char* label);

	void AttachedToWindow() override;

private:
	std::string fLabel;
};
