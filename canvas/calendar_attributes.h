// The calendar's attributes, shared by the canvas (which reads them at every drawing) and
// the configuration window (which edits them).
#pragma once

#include "Font.h"

enum band_position : uint8 {
	BAND_AT_TOP = 1,
	BAND_AT_BOTTOM = 2,
};

struct calendar_attributes {
	uint8 band_pos;   // BAND_AT_TOP or BAND_AT_BOTTOM; any other value draws no calendar
	uint32 bg_col;    // 0xAARRGGBB: the band's fill, with its alpha
	uint32 month_col; // the others are 0xRRGGBB
	uint32 week_col;
	uint32 sun_col;
	uint32 sat_col;
	uint32 holy_col;
	font_family month_family;
	font_family day_family;
	font_style month_style;
	font_style day_style;
};

// The band along the bottom edge, black at half opacity; green month numbers; black dates,
// red Sundays and holidays, blue Saturdays; the fonts empty, that is the plain font.
calendar_attributes default_calendar_attributes();

// The one record (atr.cpp). All zero at start; the canvas gives it its defaults (the band's
// position and the colours) when it is made.
extern calendar_attributes atr;
