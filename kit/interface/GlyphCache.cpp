#include "GlyphCache.h"

#include <QPainter>
#include <QRawFont>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>

#include "DrawingTarget.h"

namespace kit {

namespace {

// Masks kept at most; the cache starts afresh when it is full.
const size_t kMaskCacheLimit = 1024;

struct MaskKey {
	uint64_t font;
	std::string text;
	int stepX;
	int stepY;
	int outline; // the outline's width in eighths of a pixel; 0 for the glyphs themselves

	bool operator==(const MaskKey& other) const
	{
		return font == other.font && stepX == other.stepX && stepY == other.stepY
			&& outline == other.outline && text == other.text;
	}
};

struct MaskKeyHash {
	size_t operator()(const MaskKey& key) const
	{
		size_t hash = std::hash<std::string>()(key.text);
		hash ^= std::hash<uint64_t>()(key.font) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
		return hash ^ size_t(key.stepX * kGlyphSubpixelSteps + key.stepY) << 1
			^ size_t(key.outline) << 8;
	}
};

} // namespace

namespace {

// An outline's mask cut down to the pixels it covers: the ink box it was drawn in is wider
// than the glyphs, and every pixel of the mask is visited at every drawing.
void crop_to_coverage(GlyphMask* mask)
{
	const QImage& image = mask->coverage;
	QRect covered;
	for (int y = 0; y < image.height(); y++) {
		auto* row = reinterpret_cast<const uint32_t*>(image.constScanLine(y));
		for (int x = 0; x < image.width(); x++) {
			if (row[x] != 0)
				covered |= QRect(x, y, 1, 1);
		}
	}
	if (covered.isEmpty())
		covered = QRect(0, 0, 1, 1);
	mask->coverage = image.copy(covered);
	mask->origin += covered.topLeft();
}

// The mask of what draw paints, white on clear, within the text's ink box widened by reach
// on every side; kept per thread.
const GlyphMask& cached_mask(const MaskKey& key, const TextMeasure& measure, double reach,
	QImage::Format kept, const std::function<void(QPainter&, QPointF)>& draw)
{
	thread_local std::unordered_map<MaskKey, GlyphMask, MaskKeyHash> cache;
	auto found = cache.find(key);
	if (found != cache.end())
		return found->second;
	if (cache.size() >= kMaskCacheLimit)
		cache.clear();

	const QRectF box = measure.ink.adjusted(-reach, -reach, reach, reach);
	QPointF fraction(
		double(key.stepX) / kGlyphSubpixelSteps, double(key.stepY) / kGlyphSubpixelSteps);
	QPoint origin(int(std::floor(box.left())) - kGlyphMaskMargin,
		int(std::floor(box.top())) - kGlyphMaskMargin);
	int width = int(std::ceil(box.right())) - origin.x() + 2 * kGlyphMaskMargin;
	int height = int(std::ceil(box.bottom())) - origin.y() + 2 * kGlyphMaskMargin;

	GlyphMask mask;
	mask.origin = origin;
	QImage glyphs = MakeDrawingImage(width, height, QImage::Format_ARGB32_Premultiplied);
	glyphs.fill(Qt::transparent);
	QPainter painter(&glyphs);
	draw(painter, fraction - QPointF(origin));
	painter.end();
	mask.coverage = glyphs.convertToFormat(kept);
	if (kept == QImage::Format_ARGB32_Premultiplied)
		crop_to_coverage(&mask);
	return cache.emplace(key, std::move(mask)).first->second;
}

} // namespace

const GlyphMask& CachedGlyphMask(
	const FontMeasures& font, const char* text, const TextMeasure& measure, int stepX, int stepY)
{
	// Only the coverage is kept: a byte a pixel is a quarter of what blending reads.
	return cached_mask({font.Id(), text, stepX, stepY, 0}, measure, 0, QImage::Format_Alpha8,
		[&](QPainter& painter, QPointF baseline) {
			painter.setFont(font.Font());
			painter.setPen(Qt::white);
			painter.drawText(baseline, QString::fromUtf8(text));
		});
}

QPainterPath TextOutline(const FontMeasures& font, const char* text, QPointF origin)
{
	// The kit's fonts are sized for 72 dots per inch, where a point is a pixel.
	QRawFont glyphs = QRawFont::fromFont(font.Font());
	glyphs.setPixelSize(font.Font().pointSizeF());
	QList<quint32> indexes = glyphs.glyphIndexesForString(QString::fromUtf8(text));
	QList<QPointF> advances = glyphs.advancesForGlyphIndexes(indexes, QRawFont::KernedAdvances);
	QPainterPath outline;
	for (qsizetype i = 0; i < indexes.size(); i++) {
		outline.addPath(glyphs.pathForGlyph(indexes[i]).translated(origin));
		origin += advances[i];
	}
	return outline;
}

const GlyphMask& CachedOutlineMask(const FontMeasures& font, const char* text,
	const TextMeasure& measure, float width, int stepX, int stepY)
{
	const int eighths = std::max(1, int(std::lround(width * kGlyphSubpixelSteps)));
	// Both coverages in one word a pixel, read together: the outline's in red, the glyphs'
	// in green (added on top, so that neither disturbs the other).
	return cached_mask({font.Id(), text, stepX, stepY, eighths}, measure, width / 2 + 1,
		QImage::Format_ARGB32_Premultiplied, [&](QPainter& painter, QPointF baseline) {
			painter.setRenderHint(QPainter::Antialiasing);
			painter.strokePath(TextOutline(font, text, baseline),
				QPen(Qt::red, double(eighths) / kGlyphSubpixelSteps, Qt::SolidLine, Qt::RoundCap,
					Qt::RoundJoin));
			painter.setCompositionMode(QPainter::CompositionMode_Plus);
			painter.setFont(font.Font());
			painter.setPen(Qt::green);
			painter.drawText(baseline, QString::fromUtf8(text));
		});
}

} // namespace kit
