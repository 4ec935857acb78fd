#include "TextControl.h"

#include <QLineEdit>

#include "ControlBridge.h"

class TextControlBridge : public kit::LabeledControlBridge {
public:
	using LabeledControlBridge::LabeledControlBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* control = static_cast<BTextControl*>(fView);
		auto* field = new QLineEdit(QString::fromUtf8(control->Text()));
		_SetFocusPolicyFromFlags(field);
		QObject::connect(field, &QLineEdit::textChanged, field,
			[control](const QString& text) { control->fText = text.toStdString(); });
		// Enter always commits. Qt also finishes editing when the field loses the focus,
		// changed or not; only a change is a commit then. Enter clears the change first, so
		// that the editingFinished which follows it does not invoke a second time.
		QObject::connect(field, &QLineEdit::returnPressed, field, [control, field] {
			field->setModified(false);
			control->Invoke();
		});
		QObject::connect(field, &QLineEdit::editingFinished, field, [control, field] {
			if (!field->isModified())
				return;
			field->setModified(false);
			control->Invoke();
		});
		return new kit::LabeledRow(parent, QString::fromUtf8(control->Label()), field);
	}

	void LabelChanged() override
	{
		if (_Row())
			_Row()->SetLabel(QString::fromUtf8(static_cast<BTextControl*>(fView)->Label()));
	}

	QLineEdit* Field() const { return static_cast<QLineEdit*>(Entry()); }
};

BTextControl::BTextControl(BRect frame, const char* name, const char* label, const char* text,
	BMessage* message, uint32 resizingMode, uint32 flags)
	: BControl(frame, name, label, message, resizingMode, flags), fText(text ? text : "")
{
}

BTextControl::~BTextControl() = default;

void BTextControl::SetText(const char* text)
{
	fText = text ? text : "";
	auto* bridge = static_cast<TextControlBridge*>(_Bridge());
	if (bridge != nullptr && bridge->Field() != nullptr)
		bridge->Field()->setText(QString::fromUtf8(fText.c_str()));
}

kit::ViewBridge* BTextControl::_CreateBridge()
{
	return new TextControlBridge(this);
}
