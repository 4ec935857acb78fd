// The Qt side of controls: text fields, buttons and menu fields are Qt widgets placed at the
// view's frame. Those with a label show it on the left and their entry on the right.
#pragma once

#include <QLabel>
#include <QPointer>
#include <QWidget>

#include "ViewBridge.h"

namespace kit {

class ControlBridge : public ViewBridge {
public:
	using ViewBridge::ViewBridge;

	// Brings the widget's label up to date with the view's.
	virtual void LabelChanged() {}
	// The part the user types in, presses or opens; the kit's tests drive it.
	virtual QWidget* Entry() const = 0;
	// The label part, or null for a control that shows its label inside its entry.
	virtual QLabel* LabelWidget() const { return nullptr; }

protected:
	// Tab navigation reaches a control only when its view is B_NAVIGABLE; a click always
	// gives it the focus.
	void _SetFocusPolicyFromFlags(QWidget* widget) const;
};

// A label on the left and an entry widget on the right, filling the control's frame. The
// split is the platform's default: the label takes its natural width in the control's font,
// then the style's spacing, and the entry the rest. An entry that needs more room to show
// what it holds (SetEntryRoom) takes it from the label, as far as the frame allows: the label
// is then cut short with an ellipsis, and its whole text becomes its tool tip. An empty label
// leaves the whole width to the entry.
class LabeledRow : public QWidget {
public:
	LabeledRow(QWidget* parent, const QString& label, QWidget* entry);

	QLabel* Label() const { return fLabel; }
	QWidget* Entry() const { return fEntry; }
	void SetLabel(const QString& label);
	// The width the entry needs; 0 (the start) when it takes what the label leaves.
	void SetEntryRoom(int width);

protected:
	void resizeEvent(QResizeEvent* event) override;

private:
	void _Place();

	QLabel* fLabel;
	QWidget* fEntry;
	QString fLabelText;
	int fEntryRoom;
};

// A labelled control's bridge: its widget is a LabeledRow.
class LabeledControlBridge : public ControlBridge {
public:
	using ControlBridge::ControlBridge;

	QWidget* Entry() const override { return _Row() ? _Row()->Entry() : nullptr; }
	QLabel* LabelWidget() const override { return _Row() ? _Row()->Label() : nullptr; }

protected:
	LabeledRow* _Row() const { return static_cast<LabeledRow*>(Widget()); }
};

} // namespace kit
