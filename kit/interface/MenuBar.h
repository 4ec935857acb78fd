// The menu bar of a window: a view holding menus side by side. It spans the width of its
// window and ends above the content that the window places below it.
#pragma once

#include <vector>

#include "Menu.h"
#include "View.h"

class BMenuBar : public BView {
public:
	BMenuBar(BRect frame, const char* name,
		uint32 resizingMode = B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
		menu_layout layout = B_ITEMS_IN_ROW, bool resizeToFit = true);
	~BMenuBar() override;

	bool AddItem(BMenu* menu);
	int32 CountItems() const { return int32(fMenus.size()); }
	BMenu* SubmenuAt(int32 index) const;

	void AttachedToWindow() override;

protected:
	kit::ViewBridge* _CreateBridge() override;

private:
	friend class MenuBarBridge;

	std::vector<BMenu*> fMenus;
	bool fResizeToFit;
};
