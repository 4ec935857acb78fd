#include "TextControl.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

#include "ControlBridge.h"

namespace {

// The pixels a line edit keeps between its frame and its text on either side.
const int kLineEditTextMargin = 2;

// A line edit that knows how wide it must be to show a text whole.
class TextField : public QLineEdit {
public:
	using QLineEdit::QLineEdit;

	// The text's width in the field's font with what its first and last glyphs reach beyond
	// it, a pixel for the cursor after it, the margins, and the frame the style draws.
	int WidthToShow(const QString& text) const
	{
		const QFontMetrics metrics = fontMetrics();
		const QMargins margins = textMargins();
		int content = metrics.horizontalAdvance(text) + 1 + 2 * kLineEditTextMargin + margins.left()
			+ margins.right();
		if (!text.isEmpty()) {
			content += std::max(0, -metrics.leftBearing(text.front()))
				+ std::max(0, -metrics.rightBearing(text.back()));
		}
		QStyleOptionFrame option;
		initStyleOption(&option);
		return style()
			->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(content, height()), this)
			.width();
	}
};

} // namespace

class TextControlBridge : public kit::LabeledControlBridge {
public:
	using LabeledControlBridge::LabeledControlBridge;

	QWidget* CreateWidget(QWidget* parent) override
	{
		auto* control = static_cast<BTextControl*>(fView);
		auto* field = new TextField(QString::fromUtf8(control->Text()));
		_SetFocusPolicyFromFlags(field);
		auto* row = new kit::LabeledRow(parent, QString::fromUtf8(control->Label()), field);
		// The entry asks for room to show the whole of what it holds, whenever that changes.
		row->SetEntryRoom(field->WidthToShow(field->text()));
		QObject::connect(
			field, &QLineEdit::textChanged, field, [control, field, row](const QString& text) {
				control->fText = text.toStdString();
				row->SetEntryRoom(field->WidthToShow(text));
			});
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
		return row;
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
