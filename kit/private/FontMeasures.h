// What the kit knows about a font once it has resolved it: the Qt font at the kit's 72 dots
// per inch, its height, and the advance and ink of the texts measured in it. Views draw the
// same few texts in the same few fonts again and again (a calendar draws 377 numbers in two
// fonts at every update), so each font is resolved once and each text measured once, and
// kept for the thread that asked.
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QRectF>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "Font.h"

namespace kit {

struct TextMeasure {
	float advance; // where the pen ends, from where the text starts
	QRectF ink;    // the glyphs' bounding box, relative to the baseline's start
};

class FontMeasures {
public:
	// A number that no other font measured in this process shares.
	uint64_t Id() const { return fId; }
	// The Qt font for 72-dpi devices (the kit's drawing images and its measuring device).
	const QFont& Font() const { return fFont; }
	const font_height& Height() const { return fHeight; }
	// The measure of a UTF-8 text; the reference stays valid until the next call.
	const TextMeasure& Measure(const char* text);

	FontMeasures(const BFont& font, uint64_t id);
	FontMeasures(const FontMeasures&) = delete;
	FontMeasures& operator=(const FontMeasures&) = delete;

private:
	uint64_t fId;
	QFont fFont;
	QFontMetricsF fMetrics;
	font_height fHeight;
	std::unordered_map<std::string, TextMeasure> fTexts;
};

// The measures of a font (family, style, size and face), resolved on first use. The
// reference stays valid until the next call.
FontMeasures& MeasuresOf(const BFont& font);

} // namespace kit
