// The coverage of a text's glyphs, rendered once and kept: the calendar draws the same few
// numbers hundreds of times, and large glyphs are costly to rasterize. Text drawn in
// B_OP_COPY blends its colours by this coverage.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPoint>

#include "FontMeasures.h"

namespace kit {

// Positions are kept to an eighth of a pixel: closer than the eye can tell.
const int kGlyphSubpixelSteps = 8;
// Clear pixels around the glyphs' bounding box, for antialiased edges that reach past it.
const int kGlyphMaskMargin = 2;

struct GlyphMask {
	QImage coverage; // Format_Alpha8: a byte of coverage a pixel
	QPoint origin;   // the mask's top-left, relative to the whole-pixel baseline point
};

// The mask of a UTF-8 text (measured as measure) in font, with its baseline at (stepX,
// stepY) eighths of a pixel past a whole pixel. The reference stays valid until the next
// call.
const GlyphMask& CachedGlyphMask(
	const FontMeasures& font, const char* text, const TextMeasure& measure, int stepX, int stepY);

// The outlines of a text's glyphs at the font's size in pixels, the start of its baseline at
// origin. (A QFont's path would be sized for the screen's resolution, not the kit's.)
QPainterPath TextOutline(const FontMeasures& font, const char* text, QPointF origin);

// The coverage of the text's outline stroked width pixels wide, with round joins, in the red
// channel of a Format_ARGB32_Premultiplied image, and that of its glyphs in the green
// channel, placed as CachedGlyphMask places the glyphs; kept alongside them.
const GlyphMask& CachedOutlineMask(const FontMeasures& font, const char* text,
	const TextMeasure& measure, float width, int stepX, int stepY);

} // namespace kit
