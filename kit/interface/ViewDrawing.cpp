// BView's drawing calls: each draws into the view's current target, its retained buffer or
// the page of a print job.
#include "View.h"

#include <QPainter>

#include <cmath>

#include "Bitmap.h"
#include "DrawingTarget.h"
#include "GlyphCache.h"
#include "ViewBridge.h"

// Runs fn with the view's current drawing target; does nothing for a view that has no
// place to draw (not attached, or a control).
template <typename Function>
static void with_target(
	BView* view, kit::DrawingTarget* printTarget, kit::ViewBridge* bridge, Function fn)
{
	if (printTarget != nullptr) {
		fn(*printTarget);
		return;
	}
	if (bridge == nullptr || bridge->Buffer() == nullptr || bridge->Buffer()->isNull())
		return;
	QImage* buffer = bridge->Buffer();
	QPainter painter(buffer);
	BPoint offset = kit::ViewBridge::ScrollOffset(view);
	painter.translate(-offset.x, -offset.y);
	kit::DrawingTarget target(&painter, buffer, QPointF(-offset.x, -offset.y), false);
	fn(target);
	painter.end();
	bridge->BufferChanged();
}

// Text in B_OP_COPY: the glyphs' coverage blends the high colour over the low colour,
// and pixels the glyphs do not touch keep what they had.
static void draw_copy_text(kit::DrawingTarget& target, const QFont& font, const QString& text,
	QPointF baseline, rgb_color high, rgb_color low)
{
	QImage* image = target.RasterImage();
	QPointF device = baseline + target.RasterOffset();
	double wholeX = std::floor(device.x());
	double wholeY = std::floor(device.y());
	int stepX = int(std::lround((device.x() - wholeX) * kit::kGlyphSubpixelSteps));
	int stepY = int(std::lround((device.y() - wholeY) * kit::kGlyphSubpixelSteps));
	const kit::GlyphMask& mask = kit::CachedGlyphMask(font, text, stepX, stepY);

	QRect area(
		QPoint(int(wholeX) + mask.origin.x(), int(wholeY) + mask.origin.y()), mask.coverage.size());
	QRect visible = area.intersected(image->rect());
	for (int y = visible.top(); y <= visible.bottom(); y++) {
		const QRgb* coverage =
			reinterpret_cast<const QRgb*>(mask.coverage.constScanLine(y - area.top()))
			- area.left();
		QRgb* out = reinterpret_cast<QRgb*>(image->scanLine(y));
		for (int x = visible.left(); x <= visible.right(); x++) {
			int a = qAlpha(coverage[x]);
			if (a == 0)
				continue;
			auto mix = [a](int from, int to) { return from + ((to - from) * a + 127) / 255; };
			out[x] =
				qRgb(mix(low.red, high.red), mix(low.green, high.green), mix(low.blue, high.blue));
		}
	}
}

void BView::DrawString(const char* text, BPoint baseline)
{
	if (text == nullptr)
		return;
	QString string = QString::fromUtf8(text);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		QFont font = kit::ToQFont(fFont, painter->device());
		if (fDrawingMode == B_OP_COPY && target.RasterImage() != nullptr) {
			draw_copy_text(
				target, font, string, QPointF(baseline.x, baseline.y), fHighColor, fLowColor);
		} else {
			painter->setFont(font);
			painter->setPen(kit::ToQColor(fHighColor, fDrawingMode == B_OP_ALPHA));
			painter->drawText(QPointF(baseline.x, baseline.y), string);
		}
	});
	fPenLocation = BPoint(baseline.x + StringWidth(text), baseline.y);
}

void BView::DrawString(const char* text)
{
	DrawString(text, fPenLocation);
}

static QRectF inclusive_rect(BRect rect)
{
	return QRectF(rect.left, rect.top, rect.Width() + 1, rect.Height() + 1);
}

static rgb_color pattern_color(const pattern& fill, rgb_color high, rgb_color low)
{
	// Only the two solid patterns are used; anything else counts as the high colour.
	return fill.data[0] == 0 && fill.data[7] == 0 ? low : high;
}

void BView::FillRect(BRect rect, const pattern& fill)
{
	if (!rect.IsValid())
		return;
	rgb_color color = pattern_color(fill, fHighColor, fLowColor);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		if (fDrawingMode == B_OP_ALPHA) {
			painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
			painter->fillRect(inclusive_rect(rect), kit::ToQColor(color, true));
		} else {
			painter->setCompositionMode(QPainter::CompositionMode_Source);
			painter->fillRect(inclusive_rect(rect), kit::ToQColor(color, false));
		}
	});
}

void BView::StrokeRect(BRect rect, const pattern& fill)
{
	StrokeLine(rect.LeftTop(), BPoint(rect.right, rect.top), fill);
	StrokeLine(BPoint(rect.right, rect.top), rect.RightBottom(), fill);
	StrokeLine(rect.RightBottom(), BPoint(rect.left, rect.bottom), fill);
	StrokeLine(BPoint(rect.left, rect.bottom), rect.LeftTop(), fill);
}

void BView::StrokeLine(BPoint start, BPoint end, const pattern& fill)
{
	rgb_color color = pattern_color(fill, fHighColor, fLowColor);
	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& target) {
		QPainter* painter = target.Painter();
		painter->setPen(QPen(kit::ToQColor(color, fDrawingMode == B_OP_ALPHA), 1));
		painter->drawLine(QPointF(start.x + 0.5, start.y + 0.5), QPointF(end.x + 0.5, end.y + 0.5));
	});
	fPenLocation = end;
}

void BView::DrawBitmap(const BBitmap* bitmap, BRect source, BRect destination)
{
	if (bitmap == nullptr || bitmap->Bits() == nullptr || !source.IsValid()
		|| !destination.IsValid())
		return;
	QImage::Format format;
	switch (bitmap->ColorSpace()) {
		case B_RGB32:
			format = QImage::Format_RGB32;
			break;
		case B_RGBA32:
			format = QImage::Format_ARGB32;
			break;
		default:
			return;
	}
	BRect bounds = bitmap->Bounds();
	QImage image(static_cast<const uchar*>(bitmap->Bits()), bitmap->PixelWidth(),
		bitmap->PixelHeight(), bitmap->BytesPerRow(), format);

	// Clip the source to the bitmap, moving the destination with it in proportion.
	BRect clipped = source & bounds;
	if (!clipped.IsValid())
		return;
	float scaleX = (destination.Width() + 1) / (source.Width() + 1);
	float scaleY = (destination.Height() + 1) / (source.Height() + 1);
	QRectF target(destination.left + (clipped.left - source.left) * scaleX,
		destination.top + (clipped.top - source.top) * scaleY, (clipped.Width() + 1) * scaleX,
		(clipped.Height() + 1) * scaleY);
	QRectF from(clipped.left - bounds.left, clipped.top - bounds.top, clipped.Width() + 1,
		clipped.Height() + 1);

	with_target(this, fPrintTarget, fBridge, [&](kit::DrawingTarget& drawing) {
		QPainter* painter = drawing.Painter();
		painter->setCompositionMode(fDrawingMode == B_OP_COPY && format == QImage::Format_RGB32
				? QPainter::CompositionMode_Source
				: QPainter::CompositionMode_SourceOver);
		painter->drawImage(target, image, from);
	});
}

void BView::DrawBitmap(const BBitmap* bitmap, BPoint where)
{
	if (bitmap == nullptr)
		return;
	BRect bounds = bitmap->Bounds();
	DrawBitmap(bitmap, bounds, bounds.OffsetToCopy(where.x, where.y));
}

void BView::DrawBitmap(const BBitmap* bitmap)
{
	DrawBitmap(bitmap, fPenLocation);
}
