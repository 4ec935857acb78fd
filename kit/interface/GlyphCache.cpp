#include "GlyphCache.h"

#include <QPainter>

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

	bool operator==(const MaskKey& other) const
	{
		return font == other.font && stepX == other.stepX && stepY == other.stepY
			&& text == other.text;
	}
};

struct MaskKeyHash {
	size_t operator()(const MaskKey& key) const
	{
		size_t hash = std::hash<std::string>()(key.text);
		hash ^= std::hash<uint64_t>()(key.font) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
		return hash ^ size_t(key.stepX * kGlyphSubpixelSteps + key.stepY) << 1;
	}
};

} // namespace

const GlyphMask& CachedGlyphMask(
	const FontMeasures& font, const char* text, const TextMeasure& measure, int stepX, int stepY)
{
	thread_local std::unordered_map<MaskKey, GlyphMask, MaskKeyHash> cache;
	MaskKey key{font.Id(), text, stepX, stepY};
	auto found = cache.find(key);
	if (found != cache.end())
		return found->second;
	if (cache.size() >= kMaskCacheLimit)
		cache.clear();

	const QRectF& box = measure.ink;
	QPointF fraction(double(stepX) / kGlyphSubpixelSteps, double(stepY) / kGlyphSubpixelSteps);
	QPoint origin(int(std::floor(box.left())) - kGlyphMaskMargin,
		int(std::floor(box.top())) - kGlyphMaskMargin);
	int width = int(std::ceil(box.right())) - origin.x() + 2 * kGlyphMaskMargin;
	int height = int(std::ceil(box.bottom())) - origin.y() + 2 * kGlyphMaskMargin;

	GlyphMask mask;
	mask.origin = origin;
	QImage glyphs = MakeDrawingImage(width, height, QImage::Format_ARGB32_Premultiplied);
	glyphs.fill(Qt::transparent);
	QPainter painter(&glyphs);
	painter.setFont(font.Font());
	painter.setPen(Qt::white);
	painter.drawText(fraction - QPointF(origin), QString::fromUtf8(text));
	painter.end();
	// Only the coverage is kept: a byte a pixel is a quarter of what blending reads.
	mask.coverage = glyphs.convertToFormat(QImage::Format_Alpha8);
	return cache.emplace(std::move(key), std::move(mask)).first->second;
}

} // namespace kit
