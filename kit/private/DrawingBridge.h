// The Qt side of a plain view: a widget that shows the view's retained image buffer. The
// platform's updates fill the invalid part of the buffer with the view colour (unless it is
// B_TRANSPARENT_32_BIT) and call the view's Draw() for it before the widget is painted.
#pragma once

#include <QRegion>

#include "ViewBridge.h"

namespace kit {

class DrawingBridge : public ViewBridge {
public:
	using ViewBridge::ViewBridge;

	QWidget* CreateWidget(QWidget* parent) override;
	QImage* Buffer() override { return &fBuffer; }
	void Invalidate(const QRect& bufferRect) override;
	void BufferChanged() override;
	void Update() override;

	// The widget's size changed: the buffer follows it, and all of it needs drawing.
	void Resized(const QSize& size);
	// Paints rect of the widget from the buffer, updating the buffer first.
	void Paint(QWidget* widget, const QRect& rect);

private:
	QImage fBuffer;
	QRegion fInvalid;
	bool fUpdating = false;
};

} // namespace kit
