// The Qt side of menus: a QMenu per BMenu, a QAction per BMenuItem.
#pragma once

#include <QAction>
#include <QMenu>
#include <QPointer>

class BMenu;
class BMenuItem;

namespace kit {

class MenuBridge {
public:
	explicit MenuBridge(BMenu* menu);
	~MenuBridge();
	QMenu* Menu() const { return fMenu; }

private:
	QPointer<QMenu> fMenu;
};

class MenuItemBridge {
public:
	MenuItemBridge(BMenuItem* item, QAction* action) : fItem(item), fAction(action) {}
	~MenuItemBridge();
	QAction* Action() const { return fAction; }
	// The item's action while it is in a menu, else null.
	static QAction* ActionOf(const BMenuItem* item);

private:
	BMenuItem* fItem;
	QPointer<QAction> fAction;
};

} // namespace kit
