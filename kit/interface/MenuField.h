// A menu field: a label on the left and, on the right, a button that pops up a menu. With a
// pop-up menu that takes its label from the marked item (the usual case), the button shows
// the marked item's label, and nothing while no item is marked; otherwise it shows the
// menu's name. The field owns its menu; the menu's items carry their own messages and
// targets.
#pragma once

#include <string>

#include "Menu.h"
#include "View.h"

class BMenuField : public BView {
public:
	BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
		uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP,
		uint32 flags = B_WILL_DRAW | B_NAVIGABLE);
	~BMenuField() override;

	BMenu* Menu() const { return fMenu; }
	const char* Label() const { return fLabel.c_str(); }

protected:
	kit::ViewBridge* _CreateBridge() override;

private:
	friend class MenuFieldBridge;

	// What the pop-up button shows now.
	std::string _ShownLabel() const;
	void _MarkChanged();

	std::string fLabel;
	BMenu* fMenu;
};
