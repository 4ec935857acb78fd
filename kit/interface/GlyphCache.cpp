#include "GlyphCache.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>
#include <unordered_map>

#include "DrawingTarget.h"

namespace kit {

namespace {

// Masks kept at most; the cache starts afresh when it is full.
const size_t kMaskCacheLimit = 1024;
// Clear pixels around the glyphs' bounding box, for antialiased edges that reach past it.
const int kMaskMargin = 2;
// Separates the parts of a cache key (the ASCII unit separator, which no font key holds).
const QChar kKeySeparator(0x1f);

} // namespace

const GlyphMask& CachedGlyphMask(const QFont& font, const QString& text, int stepX, int stepY)
{
	static std::unordered_map<QString, GlyphMask> cache;
	QString key = font.key() + kKeySeparator + text + kKeySeparator + QString::number(stepX)
		+ kKeySeparator + QString::number(stepY);
	auto found = cache.find(key);
	if (found != cache.end())
		return found->second;
	if (cache.size() >= kMaskCacheLimit)
		cache.clear();

	QImage reference = MakeDrawingImage(1, 1, QImage::Format_ARGB32_Premultiplied);
	QFontMetricsF metrics(font, &reference);
	QRectF box = metrics.boundingRect(text);
	QPointF fraction(double(stepX) / kGlyphSubpixelSteps, double(stepY) / kGlyphSubpixelSteps);
	QPoint origin(
		int(std::floor(box.left())) - kMaskMargin, int(std::floor(box.top())) - kMaskMargin);
	int width = int(std::ceil(box.right())) - origin.x() + 2 * kMaskMargin;
	int height = int(std::ceil(box.bottom())) - origin.y() + 2 * kMaskMargin;

	GlyphMask mask;
	mask.origin = origin;
	mask.coverage = MakeDrawingImage(width, height, QImage::Format_ARGB32_Premultiplied);
	mask.coverage.fill(Qt::transparent);
	QPainter painter(&mask.coverage);
	painter.setFont(font);
	painter.setPen(Qt::white);
	painter.drawText(fraction - QPointF(origin), text);
	painter.end();
	return cache.emplace(key, std::move(mask)).first->second;
}

} // namespace kit
