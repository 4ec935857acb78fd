#include "DrawingBridge.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QResizeEvent>

#include <algorithm>

#include "DrawingTarget.h"
#include "DropDelivery.h"

namespace kit {

namespace {

const double kMetresPerInch = 0.0254;

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
		DeliverDrop(fBridge->View(), event->mimeData(), mapToGlobal(event->position()));
		event->acceptProposedAction();
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
