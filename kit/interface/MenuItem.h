// A menu item: a label and a message sent to its target when the item is chosen, or a
// submenu. The item owns its message and its submenu.
#pragma once

#include <string>

#include "Invoker.h"

class BMenu;

namespace kit {
class MenuItemBridge;
}

class BMenuItem : public BInvoker {
public:
	BMenuItem(const char* label, BMessage* message, char shortcut = 0, uint32 modifiers = 0);
	explicit BMenuItem(BMenu* submenu, BMessage* message = nullptr);
	~BMenuItem() override;

	const char* Label() const { return fLabel.c_str(); }
	virtual void SetLabel(const char* label);
	BMenu* Submenu() const { return fSubmenu; }
	BMenu* Menu() const { return fMenu; }

	void SetMarked(bool marked);
	bool IsMarked() const { return fMarked; }
	void SetEnabled(bool enabled);
	bool IsEnabled() const { return fEnabled; }
	char Shortcut(uint32* modifiers = nullptr) const;

	// Chooses the item as the user would: marks it in a radio menu, then invokes it.
	status_t Invoke(BMessage* message = nullptr) override;

protected:
	void _AddInvocationFields(BMessage* message) override;

private:
	friend class BMenu;
	friend class kit::MenuItemBridge;

	std::string fLabel;
	BMenu* fSubmenu;
	BMenu* fMenu;
	char fShortcut;
	uint32 fModifiers;
	bool fMarked;
	bool fEnabled;
	kit::MenuItemBridge* fBridge;
};
