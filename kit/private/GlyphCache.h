// The coverage of a text's glyphs, rendered once and kept: the calendar draws the same few
// numbers hundreds of times, and large glyphs are costly to rasterize. Text drawn in
// B_OP_COPY blends its colours by this coverage.
#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QString>

namespace kit {

// Positions are kept to an eighth of a pixel: closer than the eye can tell.
const int kGlyphSubpixelSteps = 8;

struct GlyphMask {
	QImage coverage; // alpha = coverage
	QPoint origin;   // the mask's top-left, relative to the whole-pixel baseline point
};

// The mask of text in font, with its baseline at (stepX, stepY) eighths of a pixel past a
// whole pixel. The reference stays valid until the next call.
const GlyphMask& CachedGlyphMask(const QFont& font, const QString& text, int stepX, int stepY);

} // namespace kit
