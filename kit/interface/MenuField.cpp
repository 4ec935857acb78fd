#include "MenuField.h"

#include <QPushButton>

#include "ControlBridge.h"
#include "MenuBridge.h"
#include "MenuItem.h"

class MenuFieldBridge : public kit::LabeledControlBridge {
public:
	using LabeledControlBridge::LabeledControlBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* field = static_cast<BMenuField*>(fView);
		auto* button = new QPushButton(QString::fromUtf8(field->_ShownLabel().c_str()));
		button->setAutoDefault(false);
		_SetFocusPolicyFromFlags(button);
		if (field->Menu() != nullptr)
			button->setMenu(field->Menu()->Bridge()->Menu());
		return new kit::LabeledRow(parent, QString::fromUtf8(field->Label()), button);
	}

	QPushButton* Button() const { return static_cast<QPushButton*>(Entry()); }

	// The menu belongs to the field, not to the button: it must outlive the button's hold.
	void ReleaseMenu()
	{
		if (Button() != nullptr)
			Button()->setMenu(nullptr);
	}
};

BMenuField::BMenuField(BRect frame, const char* name, const char* label, BMenu* menu,
	uint32 resizingMode, uint32 flags)
	: BView(frame, name, resizingMode, flags), fLabel(label ? label : ""), fMenu(menu)
{
	if (fMenu != nullptr)
		fMenu->SetMarkListener([this] { _MarkChanged(); });
}

BMenuField::~BMenuField()
{
	if (auto* bridge = static_cast<MenuFieldBridge*>(_Bridge()))
		bridge->ReleaseMenu();
	delete fMenu;
}

kit::ViewBridge* BMenuField::_CreateBridge()
{
	return new MenuFieldBridge(this);
}

std::string BMenuField::_ShownLabel() const
{
	if (fMenu == nullptr)
		return std::string();
	if (!fMenu->IsLabelFromMarked())
		return fMenu->Name();
	BMenuItem* marked = fMenu->FindMarked();
	return marked != nullptr ? marked->Label() : std::string();
}

void BMenuField::_MarkChanged()
{
	auto* bridge = static_cast<MenuFieldBridge*>(_Bridge());
	if (bridge != nullptr && bridge->Button() != nullptr)
		bridge->Button()->setText(QString::fromUtf8(_ShownLabel().c_str()));
}
