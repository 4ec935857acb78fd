#include "MenuItem.h"

#include "Menu.h"
#include "MenuBridge.h"

BMenuItem::BMenuItem(const char* label, BMessage* message, char shortcut, uint32 modifiers)
	: BInvoker(message, nullptr), fLabel(label ? label : ""), fSubmenu(nullptr), fMenu(nullptr),
	  fShortcut(shortcut), fModifiers(modifiers), fMarked(false), fEnabled(true), fBridge(nullptr)
{
}

BMenuItem::BMenuItem(BMenu* submenu, BMessage* message)
	: BInvoker(message, nullptr), fLabel(submenu ? submenu->Name() : ""), fSubmenu(submenu),
	  fMenu(nullptr), fShortcut(0), fModifiers(0), fMarked(false), fEnabled(true), fBridge(nullptr)
{
}

BMenuItem::~BMenuItem()
{
	if (fMenu != nullptr)
		fMenu->RemoveItem(fMenu->IndexOf(this));
	delete fBridge;
	delete fSubmenu;
}

void BMenuItem::SetLabel(const char* label)
{
	fLabel = label ? label : "";
	if (fBridge && fBridge->Action())
		fBridge->Action()->setText(QString::fromUtf8(fLabel.c_str()));
}

void BMenuItem::SetMarked(bool marked)
{
	if (fMarked == marked)
		return;
	fMarked = marked;
	if (fBridge && fBridge->Action()) {
		QAction* action = fBridge->Action();
		if (marked)
			action->setCheckable(true);
		action->setChecked(marked);
	}
	if (fMenu)
		fMenu->_ItemMarked(this);
}

void BMenuItem::SetEnabled(bool enabled)
{
	fEnabled = enabled;
	if (fBridge && fBridge->Action())
		fBridge->Action()->setEnabled(enabled);
}

char BMenuItem::Shortcut(uint32* modifiers) const
{
	if (modifiers)
		*modifiers = fModifiers;
	return fShortcut;
}

status_t BMenuItem::Invoke(BMessage* message)
{
	if (fMenu != nullptr && fMenu->IsRadioMode())
		SetMarked(true);
	return BInvoker::Invoke(message);
}

void BMenuItem::_AddInvocationFields(BMessage* message)
{
	if (fMenu != nullptr)
		message->AddInt32("index", fMenu->IndexOf(this));
}
