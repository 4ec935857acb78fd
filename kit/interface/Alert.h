// A small dialog with a text and up to three buttons. Go() shows it and waits: the caller's
// looper holds its queue meanwhile, while other windows go on working. The alert deletes
// itself when Go() returns.
#pragma once

#include <string>
#include <vector>

#include "InterfaceDefs.h"

class BAlert {
public:
	BAlert(const char* title, const char* text, const char* button0, const char* button1 = nullptr,
		const char* button2 = nullptr, button_width width = B_WIDTH_AS_USUAL,
		alert_type type = B_INFO_ALERT);
	virtual ~BAlert();

	// Returns the index of the button pressed (the last button when the dialog is closed
	// some other way).
	int32 Go();

	const char* Title() const { return fTitle.c_str(); }
	const char* Text() const { return fText.c_str(); }
	int32 CountButtons() const { return int32(fButtons.size()); }
	const char* ButtonLabel(int32 index) const;
	alert_type Type() const { return fType; }

private:
	std::string fTitle;
	std::string fText;
	std::vector<std::string> fButtons;
	alert_type fType;
};
