// The Qt side of a plain view: a widget that shows the view's retained image buffer.
//
// The buffer holds pixels only for the part of the widget that can be shown: inside its
// window (and every view around it) and on the screen. The platform keeps no pixels for
// hidden parts of a view either: drawing there is clipped away, and what comes into sight
// later (the window grows or moves, the view scrolls) is drawn then, through the view's
// Draw() with its update rectangle. The platform's updates fill the invalid part of the
// buffer with the view colour (unless it is B_TRANSPARENT_32_BIT) and call Draw() for it,
// clipped to it, before the widget is painted.
#pragma once

#include <QRegion>

#include <optional>

#include "ViewBridge.h"

namespace kit {

class DrawingBridge : public ViewBridge {
public:
	using ViewBridge::ViewBridge;

	QWidget* CreateWidget(QWidget* parent) override;
	DrawingBridge* AsDrawing() override { return this; }
	// The buffer, brought up to the part of the widget that can be shown now.
	QImage* Buffer() override;
	// Marks a part of the widget (its coordinates) as needing a Draw().
	void Invalidate(const QRect& widgetRect) override;
	// All of the buffer changed: show it again.
	void BufferChanged() override;
	void Update() override;

	// The part of the widget, in its coordinates, that the buffer covers: buffer pixel
	// (0, 0) is this rectangle's top-left.
	QRect BufferRect() const { return fBufferRect; }
	// While an update's Draw() runs: the buffer pixels it may change.
	const std::optional<QRegion>& UpdatingPixels() const { return fUpdating; }
	// Some buffer pixels changed outside an update: show them.
	void PixelsChanged(const QRect& bufferPixels);
	// The view's contents moved by (dx, dy) pixels of the view's coordinates (it scrolled):
	// what the buffer holds moves along, and only what comes into sight needs a Draw().
	void Scrolled(float dx, float dy);
	// Makes the buffer cover the part of the widget that can be shown now, keeping the
	// pixels of the part it covered before; what is new to it needs a Draw().
	void SyncBuffer();
	// Paints rect of the widget from the buffer, running the pending updates first.
	void Paint(QWidget* widget, const QRect& rect);

private:
	QRect _ShownRect() const;
	// Fills and draws what is invalid; the widget rectangle drawn, empty if nothing was.
	QRect _RunUpdates();

	QImage fBuffer;
	QRect fBufferRect;
	QRegion fInvalid; // in the widget's coordinates, inside fBufferRect
	std::optional<QRegion> fUpdating;
};

} // namespace kit
