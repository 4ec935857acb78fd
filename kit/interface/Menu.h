// A menu: a list of items, shown by a menu bar or a menu field. In radio mode at most one
// item is marked, and choosing an item marks it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "InterfaceDefs.h"

class BMenuItem;

namespace kit {
class MenuBridge;
}

class BMenu {
public:
	explicit BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
	virtual ~BMenu();

	bool AddItem(BMenuItem* item);
	bool AddItem(BMenuItem* item, int32 index);
	bool AddItem(BMenu* submenu);
	bool AddSeparatorItem();
	BMenuItem* RemoveItem(int32 index);
	int32 CountItems() const { return int32(fItems.size()); }
	BMenuItem* ItemAt(int32 index) const;
	BMenu* SubmenuAt(int32 index) const;
	BMenuItem* FindItem(const char* label) const;
	BMenuItem* FindMarked() const;
	int32 IndexOf(const BMenuItem* item) const;

	const char* Name() const { return fName.c_str(); }
	menu_layout Layout() const { return fLayout; }
	void SetRadioMode(bool on);
	bool IsRadioMode() const { return fRadioMode; }
	void SetLabelFromMarked(bool on) { fLabelFromMarked = on; }
	bool IsLabelFromMarked() const { return fLabelFromMarked; }
	BMenuItem* Superitem() const { return fSuperitem; }

	// The kit's own Qt menu for this menu.
	kit::MenuBridge* Bridge() const { return fBridge; }

	// Runs whenever an item's mark changes (menu fields show the marked item's label).
	void SetMarkListener(std::function<void()> listener) { fMarkListener = std::move(listener); }

private:
	friend class BMenuItem;

	void _ItemMarked(BMenuItem* item);

	std::string fName;
	menu_layout fLayout;
	std::vector<BMenuItem*> fItems;
	bool fRadioMode;
	bool fLabelFromMarked;
	BMenuItem* fSuperitem;
	kit::MenuBridge* fBridge;
	std::function<void()> fMarkListener;
};

class BPopUpMenu : public BMenu {
public:
	BPopUpMenu(const char* name, bool radioMode = true, bool labelFromMarked = true,
		menu_layout layout = B_ITEMS_IN_COLUMN);
};
