#include "DrawingBridge.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include <algorithm>

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
	void resizeEvent(QResizeEvent* event) override { fBridge->Resized(event->size()); }

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
	return new DrawingWidget(this, parent);
}

void DrawingBridge::Resized(const QSize& size)
{
	if (fBuffer.size() == size)
		return;
	QImage resized = MakeDrawingImage(size.width(), size.height(), QImage::Format_RGB32);
	resized.fill(Qt::black);
	fBuffer = resized;
	fInvalid = QRegion(fBuffer.rect());
}

void DrawingBridge::Invalidate(const QRect& bufferRect)
{
	fInvalid += bufferRect.intersected(fBuffer.rect());
	if (fWidget)
		fWidget->update(bufferRect);
}

void DrawingBridge::BufferChanged()
{
	if (fWidget)
		fWidget->update();
}

void DrawingBridge::Update()
{
	if (fUpdating || fInvalid.isEmpty() || fBuffer.isNull())
		return;
	fUpdating = true;
	QRect area = fInvalid.boundingRect();
	fInvalid = QRegion();
	rgb_color viewColor = fView->ViewColor();
	if (viewColor != B_TRANSPARENT_32_BIT) {
		QPainter painter(&fBuffer);
		painter.fillRect(area, ToQColor(viewColor, false));
	}
	BPoint offset = ScrollOffset(fView);
	BRect update(area.left() + offset.x, area.top() + offset.y, area.right() + offset.x,
		area.bottom() + offset.y);
	if (fView->Flags() & B_WILL_DRAW)
		fView->Draw(update);
	fUpdating = false;
}

void DrawingBridge::Paint(QWidget* widget, const QRect& rect)
{
	if (fBuffer.size() != widget->size())
		Resized(widget->size());
	Update();
	QPainter painter(widget);
	painter.drawImage(rect, fBuffer, rect);
}

} // namespace kit
