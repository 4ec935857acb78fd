// The Qt side of a view. A plain view gets a DrawingBridge (DrawingBridge.h) with a retained
// image buffer; controls (scroll bars, menus, text fields, buttons) supply bridges around
// Qt's widgets.
#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

#include "View.h"

namespace kit {

class DrawingBridge;

class ViewBridge {
public:
	explicit ViewBridge(BView* view) : fView(view) {}
	virtual ~ViewBridge() { delete fWidget.data(); }

	// Creates the widget as a child of parent; called when the view is attached.
	virtual QWidget* CreateWidget(QWidget* parent) = 0;
	// Called after the widget exists and the view is placed.
	virtual void Attached() {}
	virtual void ViewColorChanged() {}

	QWidget* Widget() const { return fWidget; }
	BView* View() const { return fView; }

	// The bridge of a plain view, which draws into a buffer of its own; null for controls.
	virtual DrawingBridge* AsDrawing() { return nullptr; }
	// The drawing buffer, for bridges that keep one; null otherwise.
	virtual QImage* Buffer() { return nullptr; }
	virtual void Invalidate(const QRect& bufferRect) {}
	virtual void BufferChanged() {}
	// Runs the pending updates (fill and Draw) now.
	virtual void Update() {}

	void SetWidget(QWidget* widget) { fWidget = widget; }

	// Helpers for BView's friends.
	static BPoint ScrollOffset(const BView* view) { return view->fScrollOffset; }

protected:
	BView* fView;
	QPointer<QWidget> fWidget;
};

} // namespace kit
