// BView's drawing calls: each draws into the view's current target, its retained buffer or
// the page of a print job.
#include "View.h"

#include <QPainter>

#include <cmath>
#include <optional>

#include "Bitmap.h"
#include "DrawingBridge.h"
#include "DrawingTarget.h"
#include "FontMeasures.h"
#include "GlyphCache.h"
#include "ViewBridge.h"

namespace {

// Where one drawing call draws: the print job's page, the bitmap a view draws into, or the
// view's buffer, of which only the part being updated is open while the platform's update
// runs. Drawing that lies
// wholly outside what is open is skipped before any work is done for it (no font, no
// glyphs, no painter); the caller still keeps the view's drawing state as if it had drawn.
class Drawing {
public:
	Drawing(BView* view, kit::DrawingTarget* printTarget, kit::ViewBridge* bridge)
		: fTarget(printTarget), fBridge(nullptr)
	{
		if (fTarget != nullptr)
			return;
		if (bridge == nullptr)
			return;
		BPoint scroll = kit::ViewBridge::ScrollOffset(view);
		kit::DrawingBridge* drawing = bridge->AsDrawing();
		if (drawing == nullptr) {
			// A view in a bitmap: its buffer is the bitmap's pixels, all of them open.
			QImage* pixels = bridge->Buffer();
			if (pixels != nullptr && !pixels->isNull()) {
				fOwn.emplace(pixels, QPointF(-scroll.x, -scroll.y), std::nullopt);
				fTarget = &*fOwn;
			}
			return;
		}
		QImage* buffer = drawing->Buffer();
		if (buffer == nullptr || buffer->isNull())
			return;
		QPoint origin = drawing->BufferRect().topLeft();
		fOwn.emplace(buffer, QPointF(-scroll.x - origin.x(), -scroll.y - origin.y()),
			drawing->UpdatingPixels());
		fTarget = &*fOwn;
		fBridge = drawing;
	}

	// The target, when there is one and area (in the view's coordinates) may show in it.
	kit::DrawingTarget* For(const QRectF& area) const
	{
		return fTarget != nullptr && fTarget->Reaches(area) ? fTarget : nullptr;
	}

	// Done drawing into area of the view: the screen shows it.
	void Drew(const QRectF& area)
	{
		if (fBridge == nullptr)
			return;
		QRect pixels = area.translated(fOwn->RasterOffset()).toAlignedRect();
		fBridge->PixelsChanged(pixels & fOwn->RasterImage()->rect());
	}

private:
	kit::DrawingTarget* fTarget;
	std::optional<kit::DrawingTarget> fOwn;
	kit::DrawingBridge* fBridge;
};

// How far past a text's ink box its pixels may reach: the blended masks of B_OP_COPY keep
// a margin of two pixels past the box from a whole pixel at or before the baseline's start
// (DrawString), and antialiased glyphs drawn by Qt spread about as far.
const double kInkReach = kit::kGlyphMaskMargin + 3;

} // namespace

// Text in B_OP_COPY: the glyphs' coverage blends the high colour over the low colour,
// and pixels the glyphs do not touch keep what they had.
static void draw_copy_text(kit::DrawingTarget& target, const kit::FontMeasures& font,
	const char* text, const kit::TextMeasure& measure, QPointF baseline, rgb_color high,
	rgb_color low)
{
	QImage* image = target.RasterImage();
	QPointF device = baseline + target.RasterOffset();
	double wholeX = std::floor(device.x());
	double wholeY = std::floor(device.y());
	int stepX = int(std::lround((device.x() - wholeX) * kit::kGlyphSubpixelSteps));
	int stepY = int(std::lround((device.y() - wholeY) * kit::kGlyphSubpixelSteps));
	const kit::GlyphMask& mask = kit::CachedGlyphMask(font, text, measure, stepX, stepY);

	QRect area(
		QPoint(int(wholeX) + mask.origin.x(), int(wholeY) + mask.origin.y()), mask.coverage.size());
	QRegion open = target.Clip() ? *target.Clip() & area : QRegion(area & image->rect());
	uchar* bits = image->bits();
	const qsizetype stride = image->bytesPerLine();
	for (const QRect& visible : open) {
		for (int y = visible.top(); y <= visible.bottom(); y++) {
			const uchar* coverage = mask.coverage.constScanLine(y - area.top()) - area.left();
			QRgb* out = reinterpret_cast<QRgb*>(bits + y * stride);
			for (int x = visible.left(); x <= visible.right(); x++) {
				int a = coverage[x];
				if (a == 0)
					continue;
				auto mix = [a](int from, int to) { return from + ((to - from) * a + 127) / 255; };
				out[x] = qRgb(
					mix(low.red, high.red), mix(low.green, high.green), mix(low.blue, high.blue));
			}
		}
	}
}

void BView::DrawString(const char* text, BPoint baseline)
{
	if (text == nullptr)
		return;
	kit::FontMeasures& font = kit::MeasuresOf(fFont);
	const kit::TextMeasure measure = font.Measure(text);
	QRectF ink = measure.ink.translated(baseline.x, baseline.y)
					 .adjusted(-kInkReach, -kInkReach, kInkReach, kInkReach);
	Drawing drawing(this, fPrintTarget, fBridge);
	if (kit::DrawingTarget* target = drawing.For(ink)) {
		if (fDrawingMode == B_OP_COPY && target->RasterImage() != nullptr) {
			draw_copy_text(*target, font, text, measure, QPointF(baseline.x, baseline.y),
				fHighColor, fLowColor);
		} else {
			QPainter* painter = target->Painter();
			painter->setFont(kit::ToQFont(fFont, painter->device()));
			painter->setPen(kit::ToQColor(fHighColor, fDrawingMode == B_OP_ALPHA));
			painter->drawText(QPointF(baseline.x, baseline.y), QString::fromUtf8(text));
		}
		drawing.Drew(ink);
	}
	fPenLocation = BPoint(baseline.x + measure.advance, baseline.y);
}

void BView::DrawString(const char* text)
{
	DrawString(text, fPenLocation);
}

// Text in an outline on a raster, in one pass: where the glyphs cover a pixel it blends
// between the outline's colour and the fill as B_OP_COPY text blends between low and high;
// elsewhere the outline's colour is laid over what is there by the outline's coverage.
static void draw_raster_outlined_text(kit::DrawingTarget& target, const kit::FontMeasures& font,
	const char* text, const kit::TextMeasure& measure, QPointF baseline, float width,
	rgb_color fill, rgb_color outline)
{
	QImage* image = target.RasterImage();
	// Placed at the nearest whole pixel: one mask then serves a text wherever it stands,
	// and outlines are costly to make (a calendar draws the same 43 numbers 389 times).
	QPointF device = baseline + target.RasterOffset();
	int wholeX = int(std::lround(device.x()));
	int wholeY = int(std::lround(device.y()));
	const kit::GlyphMask& mask = kit::CachedOutlineMask(font, text, measure, width, 0, 0);

	QRect area(QPoint(wholeX, wholeY) + mask.origin, mask.coverage.size());
	QRegion open = target.Clip() ? *target.Clip() & area : QRegion(area & image->rect());
	uchar* bits = image->bits();
	const qsizetype stride = image->bytesPerLine();
	// Red and blue are blended together in one word, green in another, by a weight of 0 to
	// 256: outlined text covers many pixels, and this is what it costs.
	const uint32 solidFill = qRgb(fill.red, fill.green, fill.blue);
	const uint32 solidOutline = qRgb(outline.red, outline.green, outline.blue);
	auto blend = [](uint32 under, uint32 over, uint32 a) {
		return 0xff000000u
			| ((((over & 0xff00ff) * a + (under & 0xff00ff) * (256 - a)) >> 8) & 0xff00ff)
			| ((((over & 0x00ff00) * a + (under & 0x00ff00) * (256 - a)) >> 8) & 0x00ff00);
	};
	for (const QRect& visible : open) {
		for (int y = visible.top(); y <= visible.bottom(); y++) {
			const uint32* coverage =
				reinterpret_cast<const uint32*>(mask.coverage.constScanLine(y - area.top()))
				- area.left();
			uint32* out = reinterpret_cast<uint32*>(bits + y * stride);
			for (int x = visible.left(); x <= visible.right(); x++) {
				const uint32 both = coverage[x];
				if (both == 0)
					continue;
				const uint32 ring = (both >> 16) & 0xff, glyphs = (both >> 8) & 0xff;
				// Most covered pixels are covered whole: those need no blending.
				if (glyphs == 255)
					out[x] = solidFill;
				else if (glyphs != 0)
					out[x] = blend(solidOutline, solidFill, glyphs + (glyphs >> 7));
				else if (ring == 255)
					out[x] = solidOutline;
				else
					out[x] = blend(out[x], solidOutline, ring + (ring >> 7));
			}
		}
	}
}

void BView::DrawStringInOutline(const char* text, BPoint baseline, float width)
{
	if (text == nullptr)
		return;
	if (!(width > 0)) {
		DrawString(text, baseline);
		return;
	}
	kit::FontMeasures& font = kit::MeasuresOf(fFont);
	const kit::TextMeasure measure = font.Measure(text);
	const double reach = kInkReach + width / 2;
	QRectF ink =
		measure.ink.translated(baseline.x, baseline.y).adjusted(-reach, -reach, reach, reach);
	Drawing drawing(this, fPrintTarget, fBridge);
	if (kit::DrawingTarget* target = drawing.For(ink)) {
		const QPointF start(baseline.x, baseline.y);
		if (fDrawingMode == B_OP_COPY && target->RasterImage() != nullptr) {
			draw_raster_outlined_text(
				*target, font, text, measure, start, width, fHighColor, fLowColor);
		} else {
			// A printed page: the outline stroked, the text drawn over it.
			QPainter* painter = target->Painter();
			const bool alpha = fDrawingMode == B_OP_ALPHA;
			painter->save();
			painter->setRenderHint(QPainter::Antialiasing);
			painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
			painter->strokePath(kit::TextOutline(font, text, start),
				QPen(kit::ToQColor(fLowColor, alpha), width, Qt::SolidLine, Qt::RoundCap,
					Qt::RoundJoin));
			painter->restore();
			painter->setFont(kit::ToQFont(fFont, painter->device()));
			painter->setPen(kit::ToQColor(fHighColor, alpha));
			painter->drawText(start, QString::fromUtf8(text));
		}
		drawing.Drew(ink);
	}
	fPenLocation = BPoint(baseline.x + measure.advance, baseline.y);
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
	QRectF area = inclusive_rect(rect);
	Drawing drawing(this, fPrintTarget, fBridge);
	kit::DrawingTarget* target = drawing.For(area);
	if (target == nullptr)
		return;
	rgb_color color = pattern_color(fill, fHighColor, fLowColor);
	QPainter* painter = target->Painter();
	if (fDrawingMode == B_OP_ALPHA) {
		painter->setCompositionMode(QPainter::CompositionMode_SourceOver);
		painter->fillRect(area, kit::ToQColor(color, true));
	} else {
		painter->setCompositionMode(QPainter::CompositionMode_Source);
		painter->fillRect(area, kit::ToQColor(color, false));
	}
	drawing.Drew(area);
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
	// A line of one pixel's width through the pixels' centres touches the pixels of its
	// ends' box and no others; a wider pen reaches half its width further.
	const float reach = std::ceil(fPenSize / 2);
	QRectF area = QRectF(QPointF(start.x, start.y), QPointF(end.x, end.y))
					  .normalized()
					  .adjusted(-reach, -reach, reach + 1, reach + 1);
	Drawing drawing(this, fPrintTarget, fBridge);
	if (kit::DrawingTarget* target = drawing.For(area)) {
		rgb_color color = pattern_color(fill, fHighColor, fLowColor);
		QPainter* painter = target->Painter();
		painter->setPen(QPen(kit::ToQColor(color, fDrawingMode == B_OP_ALPHA), fPenSize));
		painter->drawLine(QPointF(start.x + 0.5, start.y + 0.5), QPointF(end.x + 0.5, end.y + 0.5));
		drawing.Drew(area);
	}
	fPenLocation = end;
}

void BView::StrokeEllipse(BRect rect, const pattern& fill)
{
	if (!rect.IsValid())
		return;
	const float reach = std::ceil(fPenSize / 2) + 1;
	QRectF shape(rect.left, rect.top, rect.Width(), rect.Height());
	QRectF area = shape.adjusted(-reach, -reach, reach, reach);
	Drawing drawing(this, fPrintTarget, fBridge);
	if (kit::DrawingTarget* target = drawing.For(area)) {
		rgb_color color = pattern_color(fill, fHighColor, fLowColor);
		QPainter* painter = target->Painter();
		painter->save();
		painter->setRenderHint(QPainter::Antialiasing, true);
		painter->setBrush(Qt::NoBrush);
		painter->setPen(QPen(kit::ToQColor(color, fDrawingMode == B_OP_ALPHA), fPenSize));
		painter->drawEllipse(shape);
		painter->restore();
		drawing.Drew(area);
	}
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

	Drawing drawing(this, fPrintTarget, fBridge);
	kit::DrawingTarget* open = drawing.For(target);
	if (open == nullptr)
		return;
	// Unscaled, only the part that can show is copied: a picture far larger than the view
	// costs what is seen of it. The part is cut at whole pixels of the bitmap.
	if (scaleX == 1 && scaleY == 1 && open->Reach() && target.left() == std::floor(target.left())
		&& target.top() == std::floor(target.top())) {
		QRectF reach = *open->Reach();
		QRectF seen = target
			& QRectF(QPointF(std::floor(reach.left()) - 1, std::floor(reach.top()) - 1),
				QPointF(std::ceil(reach.right()) + 1, std::ceil(reach.bottom()) + 1));
		if (seen.isEmpty())
			return;
		from = QRectF(from.topLeft() + (seen.topLeft() - target.topLeft()), seen.size());
		target = seen;
	}
	QPainter* painter = open->Painter();
	painter->setCompositionMode(fDrawingMode == B_OP_COPY && format == QImage::Format_RGB32
			? QPainter::CompositionMode_Source
			: QPainter::CompositionMode_SourceOver);
	painter->drawImage(target, image, from);
	drawing.Drew(target);
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
