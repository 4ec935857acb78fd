#include "Alert.h"

#include <QMessageBox>
#include <QPushButton>

#include "ModalDialogs.h"
#include "QtApplication.h"
#include "TestingHooks.h"

BAlert::BAlert(const char* title, const char* text, const char* button0, const char* button1,
	const char* button2, button_width, alert_type type)
	: fTitle(title ? title : ""), fText(text ? text : ""), fType(type)
{
	for (const char* label : {button0, button1, button2}) {
		if (label == nullptr)
			break;
		fButtons.push_back(label);
	}
}

BAlert::~BAlert() = default;

const char* BAlert::ButtonLabel(int32 index) const
{
	if (index < 0 || size_t(index) >= fButtons.size())
		return nullptr;
	return fButtons[index].c_str();
}

int32 BAlert::Go()
{
	int32 result;
	if (auto& respond = kit::hooks::AlertResponder()) {
		result = respond(this);
	} else {
		kit::EnsureQtApplication();
		QMessageBox box;
		box.setWindowTitle(QString::fromUtf8(fTitle.c_str()));
		box.setText(QString::fromUtf8(fText.c_str()));
		switch (fType) {
			case B_INFO_ALERT:
			case B_IDEA_ALERT:
				box.setIcon(QMessageBox::Information);
				break;
			case B_WARNING_ALERT:
				box.setIcon(QMessageBox::Warning);
				break;
			case B_STOP_ALERT:
				box.setIcon(QMessageBox::Critical);
				break;
			default:
				break;
		}
		std::vector<QPushButton*> buttons;
		for (const std::string& label : fButtons)
			buttons.push_back(
				box.addButton(QString::fromUtf8(label.c_str()), QMessageBox::AcceptRole));
		if (!buttons.empty())
			box.setEscapeButton(buttons.back());
		kit::RunModal(&box);
		result = int32(fButtons.size()) - 1;
		for (size_t i = 0; i < buttons.size(); i++) {
			if (box.clickedButton() == buttons[i])
				result = int32(i);
		}
	}
	delete this;
	return result;
}
