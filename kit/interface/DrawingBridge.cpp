#include "DrawingBridge.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "AppDefs.h"
#include "DrawingTarget.h"
#include "DropDelivery.h"
#include "Message.h"
#include "Messenger.h"
#include "WindowBridge.h"

namespace kit {

namespace {

const double kMetresPerInch = 0.0254;
// Qt measures a wheel turn in eighths of a degree; one notch of a wheel is 15 degrees.
const float kAnglePerNotch = 120;

// A wheel turn over the view becomes B_MOUSE_WHEEL_CHANGED for it, in notches as the
// platform counts them: positive y scrolls down (the wheel turned towards the user), positive
// x to the right; Qt's angles count the other way. Fine wheels and touchpads report parts of
// a notch, which stay fractions here.
void post_wheel(BView* view, const QWheelEvent* event)
{
	const QPoint angle = event->angleDelta();
	BMessage wheel(B_MOUSE_WHEEL_CHANGED);
	wheel.AddFloat("be:wheel_delta_x", -float(angle.x()) / kAnglePerNotch);
	wheel.AddFloat("be:wheel_delta_y", -float(angle.y()) / kAnglePerNotch);
	wheel.AddInt32("modifiers", event->modifiers() & Qt::ShiftModifier ? int32(B_SHIFT_KEY) : 0);
	BMessenger(view).SendMessage(&wheel);
}

// Screen-side widget of a drawing view: forwards painting and resizing to its bridge, and
// drops to the view.
class DrawingWidget : public QWidget {
public:
	DrawingWidget(DrawingBridge* bridge, QWidget* parent) : QWidget(parent), fBridge(bridge)
	{
		setAttribute(Qt::WA_OpaquePaintEvent);
		setAttribute(Qt::WA_NoSystemBackground);
		setAcceptDrops(true);
	}

protected:
	void dragEnterEvent(QDragEnterEvent* event) override
	{
		if (CanAcceptDrop(event->mimeData()))
			event->acceptProposedAction();
	}
	void dragMoveEvent(QDragMoveEvent* event) override
	{
		if (CanAcceptDrop(event->mimeData()))
			event->acceptProposedAction();
	}
	void dropEvent(QDropEvent* event) override
	{
		DeliverDrop(fBridge->View(), event->mimeData(), MapToScreen(this, event->position()));
		event->acceptProposedAction();
	}

	void wheelEvent(QWheelEvent* event) override
	{
		if (event->angleDelta().isNull()) {
			event->ignore();
			return;
		}
		post_wheel(fBridge->View(), event);
		event->accept();
	}

	void paintEvent(QPaintEvent* event) override { fBridge->Paint(this, event->rect()); }
	bool eventFilter(QObject* watched, QEvent* event) override
	{
		if (watched == window() && event->type() == QEvent::Move)
			fBridge->SyncBuffer();
		return false;
	}

private:
	DrawingBridge* fBridge;
};

} // namespace

QImage MakeDrawingImage(int width, int height, QImage::Format format)
{
	QImage image(std::max(width, 1), std::max(height, 1), format);
	const int dotsPerMetre = qRound(kDotsPerInch / kMetresPerInch);
	image.setDotsPerMeterX(dotsPerMetre);
	image.setDotsPerMeterY(dotsPerMetre);
	return image;
}

QWidget* DrawingBridge::CreateWidget(QWidget* parent)
{
	auto* widget = new DrawingWidget(this, parent);
	// The part that can be shown changes when the window moves on the screen, and the
	// platform does not ask for a repaint of what comes into sight then.
	widget->window()->installEventFilter(widget);
	return widget;
}

QRect DrawingBridge::_ShownRect() const
{
	const QWidget* widget = fWidget;
	if (widget == nullptr)
		return QRect();
	QRect shown = widget->rect();
	// Up the widgets around it to the window, clipping by each; offset is where the
	// widget's origin lies in the one reached.
	QPoint offset;
	const QWidget* around = widget;
	while (!around->isWindow() && around->parentWidget() != nullptr) {
		offset += around->pos();
		around = around->parentWidget();
		shown &= around->rect().translated(-offset);
	}
	// Then by the screens: a window's geometry is its content area on them.
	if (around->isWindow()) {
		if (const QScreen* screen = around->screen()) {
			QPoint onScreen = around->geometry().topLeft() + offset;
			shown &= screen->virtualGeometry().translated(-onScreen);
		}
	}
	return shown;
}

void DrawingBridge::SyncBuffer()
{
	QRect shown = _ShownRect();
	if (shown == fBufferRect && (shown.isEmpty() || !fBuffer.isNull()))
		return;
	QImage buffer;
	if (!shown.isEmpty()) {
		buffer = MakeDrawingImage(shown.width(), shown.height(), QImage::Format_RGB32);
		buffer.fill(Qt::black);
		// What both cover keeps its pixels.
		QRect kept = shown & fBufferRect;
		if (!kept.isEmpty() && !fBuffer.isNull()) {
			const size_t bytes = size_t(kept.width()) * sizeof(QRgb);
			for (int y = kept.top(); y <= kept.bottom(); y++) {
				std::memcpy(reinterpret_cast<QRgb*>(buffer.scanLine(y - shown.top()))
						+ (kept.left() - shown.left()),
					reinterpret_cast<const QRgb*>(fBuffer.constScanLine(y - fBufferRect.top()))
						+ (kept.left() - fBufferRect.left()),
					bytes);
			}
		}
	}
	QRegion fresh = QRegion(shown) - QRegion(fBufferRect);
	fBuffer = buffer;
	fBufferRect = shown;
	fInvalid = (fInvalid & QRegion(shown)) + fresh;
	if (fWidget && !fresh.isEmpty())
		fWidget->update(fresh);
}

QImage* DrawingBridge::Buffer()
{
	SyncBuffer();
	return &fBuffer;
}

void DrawingBridge::Invalidate(const QRect& widgetRect)
{
	fInvalid += widgetRect & fBufferRect;
	if (fWidget)
		fWidget->update(widgetRect);
}

void DrawingBridge::BufferChanged()
{
	if (fWidget)
		fWidget->update(fBufferRect);
}

void DrawingBridge::PixelsChanged(const QRect& bufferPixels)
{
	// During an update the widget is painted from the buffer right after the Draw().
	if (fWidget && !fUpdating)
		fWidget->update(bufferPixels.translated(fBufferRect.topLeft()));
}

// Moves the image's pixels by (-dx, -dy): what was at (x + dx, y + dy) comes to (x, y).
// Returns the rectangle of pixels that received others, empty when none did.
static QRect shift_pixels(QImage& image, int dx, int dy)
{
	const int columns = image.width() - std::abs(dx);
	const int rows = image.height() - std::abs(dy);
	if (columns <= 0 || rows <= 0)
		return QRect();
	const int toX = std::max(-dx, 0), toY = std::max(-dy, 0);
	const size_t bytes = size_t(columns) * sizeof(QRgb);
	auto move_row = [&](int y) {
		std::memmove(reinterpret_cast<QRgb*>(image.scanLine(y)) + toX,
			reinterpret_cast<const QRgb*>(image.constScanLine(y + dy)) + toX + dx, bytes);
	};
	// Rows move towards where they are read from last, so that none is overwritten first.
	if (dy >= 0) {
		for (int y = toY; y < toY + rows; y++)
			move_row(y);
	} else {
		for (int y = toY + rows - 1; y >= toY; y--)
			move_row(y);
	}
	return QRect(toX, toY, columns, rows);
}

void DrawingBridge::Scrolled(float dx, float dy)
{
	const int wholeX = int(dx), wholeY = int(dy);
	QRect moved;
	// Only whole pixels move as they are: the pixels of a fractional scroll are drawn anew.
	if (!fBuffer.isNull() && float(wholeX) == dx && float(wholeY) == dy && !fUpdating)
		moved = shift_pixels(fBuffer, wholeX, wholeY);
	if (moved.isEmpty()) {
		fInvalid += fBufferRect;
	} else {
		fInvalid.translate(-wholeX, -wholeY);
		fInvalid &= fBufferRect;
		fInvalid += QRegion(fBufferRect) - QRegion(moved.translated(fBufferRect.topLeft()));
	}
	if (fWidget)
		fWidget->update();
}

QRect DrawingBridge::_RunUpdates()
{
	if (fUpdating || fInvalid.isEmpty() || fBuffer.isNull())
		return QRect();
	QRegion region = fInvalid & QRegion(fBufferRect);
	fInvalid = QRegion();
	if (region.isEmpty())
		return QRect();
	QRect area = region.boundingRect();
	QRegion pixels = region.translated(-fBufferRect.topLeft());
	rgb_color viewColor = fView->ViewColor();
	if (viewColor != B_TRANSPARENT_32_BIT) {
		QPainter painter(&fBuffer);
		painter.setCompositionMode(QPainter::CompositionMode_Source);
		QColor fill = ToQColor(viewColor, false);
		for (const QRect& rect : pixels)
			painter.fillRect(rect, fill);
	}
	BPoint offset = ScrollOffset(fView);
	BRect update(area.left() + offset.x, area.top() + offset.y, area.right() + offset.x,
		area.bottom() + offset.y);
	if (fView->Flags() & B_WILL_DRAW) {
		fUpdating = pixels;
		fView->Draw(update);
		fUpdating.reset();
	}
	return area;
}

void DrawingBridge::Update()
{
	SyncBuffer();
	QRect drawn = _RunUpdates();
	if (fWidget && !drawn.isEmpty())
		fWidget->update(drawn);
}

void DrawingBridge::Paint(QWidget* widget, const QRect& rect)
{
	SyncBuffer();
	_RunUpdates();
	// What lies outside the buffer cannot be seen: it is left alone.
	QRect area = rect & fBufferRect;
	if (area.isEmpty())
		return;
	QPainter painter(widget);
	painter.drawImage(area, fBuffer, area.translated(-fBufferRect.topLeft()));
}

} // namespace kit
