#include "ControlTesting.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include "Button.h"
#include "ControlBridge.h"
#include "MenuBridge.h"
#include "MenuField.h"
#include "MenuItem.h"
#include "TextControl.h"
#include "ViewAccess.h"

namespace kit::testing {

static ControlBridge* control_bridge(const BView* view)
{
	return view != nullptr ? dynamic_cast<ControlBridge*>(ViewAccess::Bridge(view)) : nullptr;
}

static QLineEdit* line_edit(BTextControl* control)
{
	ControlBridge* bridge = control_bridge(control);
	return bridge != nullptr ? qobject_cast<QLineEdit*>(bridge->Entry()) : nullptr;
}

// The cursor's place on screen at position, after the field has painted itself, which is when
// it scrolls its text to keep the cursor in sight.
static int cursor_x(QLineEdit* field, int position)
{
	field->setCursorPosition(position);
	field->grab();
	return field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
}

int32 TextFieldShownWidth(BTextControl* control)
{
	QLineEdit* field = line_edit(control);
	if (field == nullptr)
		return -1;
	const int saved = field->cursorPosition();
	const int end = cursor_x(field, int(field->text().size()));
	const int start = cursor_x(field, 0);
	field->setCursorPosition(saved);
	return end - start;
}

int32 TextFieldTextWidth(BTextControl* control)
{
	QLineEdit* field = line_edit(control);
	return field != nullptr ? field->fontMetrics().horizontalAdvance(field->text()) : -1;
}

void TypeText(BTextControl* control, const char* text)
{
	if (QLineEdit* field = line_edit(control)) {
		field->selectAll();
		field->insert(QString::fromUtf8(text));
	}
}

void CommitText(BTextControl* control, const char* text)
{
	TypeText(control, text);
	if (QLineEdit* field = line_edit(control)) {
		QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
		QCoreApplication::sendEvent(field, &press);
		QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
		QCoreApplication::sendEvent(field, &release);
	}
}

void LeaveTextField(BTextControl* control)
{
	if (QLineEdit* field = line_edit(control)) {
		QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
		QCoreApplication::sendEvent(field, &out);
	}
}

void ClickButton(BButton* button)
{
	ControlBridge* bridge = control_bridge(button);
	if (bridge == nullptr)
		return;
	if (auto* widget = qobject_cast<QAbstractButton*>(bridge->Entry()))
		widget->click();
}

void ChooseMenuItem(BMenuItem* item)
{
	if (QAction* action = MenuItemBridge::ActionOf(item))
		action->trigger();
}

std::string MenuFieldShownLabel(BMenuField* field)
{
	ControlBridge* bridge = control_bridge(field);
	auto* button = bridge != nullptr ? qobject_cast<QAbstractButton*>(bridge->Entry()) : nullptr;
	return button != nullptr ? button->text().toStdString() : std::string();
}

static BRect frame_of(const QWidget* widget)
{
	if (widget == nullptr || widget->isHidden())
		return BRect();
	QRect geometry = widget->geometry();
	return BRect(geometry.left(), geometry.top(), geometry.right(), geometry.bottom());
}

BRect ControlEntryFrame(BView* control)
{
	ControlBridge* bridge = control_bridge(control);
	if (bridge == nullptr)
		return BRect();
	// A button is its own entry: its frame is the whole control.
	if (bridge->Entry() == bridge->Widget())
		return control->Bounds().OffsetToCopy(0, 0);
	return frame_of(bridge->Entry());
}

BRect ControlLabelFrame(BView* control)
{
	ControlBridge* bridge = control_bridge(control);
	return bridge != nullptr ? frame_of(bridge->LabelWidget()) : BRect();
}

bool HasKeyboardFocus(BView* view)
{
	ViewBridge* bridge = view != nullptr ? ViewAccess::Bridge(view) : nullptr;
	if (bridge == nullptr || bridge->Widget() == nullptr)
		return false;
	QWidget* focus = bridge->Widget()->window()->focusWidget();
	return focus != nullptr && (focus == bridge->Widget() || bridge->Widget()->isAncestorOf(focus));
}

} // namespace kit::testing
