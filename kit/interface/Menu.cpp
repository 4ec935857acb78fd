#include "Menu.h"

#include <algorithm>

#include "MenuBridge.h"
#include "MenuItem.h"
#include "QtApplication.h"

namespace kit {

MenuBridge::MenuBridge(BMenu* menu)
{
	EnsureQtApplication();
	fMenu = new QMenu(QString::fromUtf8(menu->Name()));
}

MenuBridge::~MenuBridge()
{
	delete fMenu.data();
}

MenuItemBridge::~MenuItemBridge()
{
	delete fAction.data();
}

QAction* MenuItemBridge::ActionOf(const BMenuItem* item)
{
	return item != nullptr && item->fBridge != nullptr ? item->fBridge->Action() : nullptr;
}

} // namespace kit

BMenu::BMenu(const char* name, menu_layout layout)
	: fName(name ? name : ""), fLayout(layout), fRadioMode(false), fLabelFromMarked(false),
	  fSuperitem(nullptr), fBridge(new kit::MenuBridge(this))
{
}

BMenu::~BMenu()
{
	for (BMenuItem* item : fItems) {
		item->fMenu = nullptr;
		delete item;
	}
	delete fBridge;
}

bool BMenu::AddItem(BMenuItem* item)
{
	return AddItem(item, CountItems());
}

bool BMenu::AddItem(BMenuItem* item, int32 index)
{
	if (item == nullptr || item->fMenu != nullptr || index < 0 || index > CountItems())
		return false;
	QMenu* menu = fBridge->Menu();
	QAction* before = index < CountItems() ? fItems[index]->fBridge->Action() : nullptr;
	QAction* action;
	if (item->Submenu() != nullptr) {
		action = item->Submenu()->Bridge()->Menu()->menuAction();
		action->setText(QString::fromUtf8(item->Label()));
		menu->insertAction(before, action);
		item->Submenu()->fSuperitem = item;
	} else {
		action = new QAction(QString::fromUtf8(item->Label()), menu);
		action->setCheckable(fRadioMode || item->IsMarked());
		action->setChecked(item->IsMarked());
		action->setEnabled(item->IsEnabled());
		menu->insertAction(before, action);
		QObject::connect(action, &QAction::triggered, action, [item] { item->Invoke(); });
	}
	item->fBridge = new kit::MenuItemBridge(item, item->Submenu() ? nullptr : action);
	item->fMenu = this;
	fItems.insert(fItems.begin() + index, item);
	return true;
}

bool BMenu::AddItem(BMenu* submenu)
{
	if (submenu == nullptr)
		return false;
	return AddItem(new BMenuItem(submenu));
}

bool BMenu::AddSeparatorItem()
{
	fBridge->Menu()->addSeparator();
	return true;
}

BMenuItem* BMenu::RemoveItem(int32 index)
{
	if (index < 0 || index >= CountItems())
		return nullptr;
	BMenuItem* item = fItems[index];
	fItems.erase(fItems.begin() + index);
	delete item->fBridge;
	item->fBridge = nullptr;
	item->fMenu = nullptr;
	return item;
}

BMenuItem* BMenu::ItemAt(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return nullptr;
	return fItems[index];
}

BMenu* BMenu::SubmenuAt(int32 index) const
{
	BMenuItem* item = ItemAt(index);
	return item ? item->Submenu() : nullptr;
}

BMenuItem* BMenu::FindItem(const char* label) const
{
	if (label == nullptr)
		return nullptr;
	for (BMenuItem* item : fItems) {
		if (item->fLabel == label)
			return item;
		if (item->Submenu() != nullptr) {
			if (BMenuItem* found = item->Submenu()->FindItem(label))
				return found;
		}
	}
	return nullptr;
}

BMenuItem* BMenu::FindMarked() const
{
	for (BMenuItem* item : fItems) {
		if (item->IsMarked())
			return item;
	}
	return nullptr;
}

int32 BMenu::IndexOf(const BMenuItem* item) const
{
	auto found = std::find(fItems.begin(), fItems.end(), item);
	return found == fItems.end() ? -1 : int32(found - fItems.begin());
}

void BMenu::SetRadioMode(bool on)
{
	fRadioMode = on;
	for (BMenuItem* item : fItems) {
		if (item->fBridge && item->fBridge->Action())
			item->fBridge->Action()->setCheckable(on || item->IsMarked());
	}
}

void BMenu::_ItemMarked(BMenuItem* marked)
{
	if (fRadioMode && marked->IsMarked()) {
		for (BMenuItem* item : fItems) {
			if (item != marked && item->IsMarked())
				item->SetMarked(false);
		}
	}
	if (fMarkListener)
		fMarkListener();
}

BPopUpMenu::BPopUpMenu(const char* name, bool radioMode, bool labelFromMarked, menu_layout layout)
	: BMenu(name, layout)
{
	SetRadioMode(radioMode);
	SetLabelFromMarked(labelFromMarked);
}
