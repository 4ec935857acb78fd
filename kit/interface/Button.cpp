#include "Button.h"

#include <QPushButton>

#include "ControlBridge.h"

class ButtonBridge : public kit::ControlBridge {
public:
	using ControlBridge::ControlBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* control = static_cast<BButton*>(fView);
		auto* button = new QPushButton(QString::fromUtf8(control->Label()), parent);
		// A button becomes the window's default only when the program makes it so.
		button->setAutoDefault(false);
		_SetFocusPolicyFromFlags(button);
		QObject::connect(button, &QPushButton::clicked, button, [control] { control->Invoke(); });
		return button;
	}

	void LabelChanged() override
	{
		if (auto* button = static_cast<QPushButton*>(Widget()))
			button->setText(QString::fromUtf8(static_cast<BButton*>(fView)->Label()));
	}

	QWidget* Entry() const override { return Widget(); }
};

BButton::BButton(BRect frame, const char* name, const char* label, BMessage* message,
	uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags)
{
}

BButton::~BButton() = default;

kit::ViewBridge* BButton::_CreateBridge()
{
	return new ButtonBridge(this);
}
