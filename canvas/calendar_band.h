// The calendar band: twelve months in two rows of six over the width of an area, along its
// top or bottom edge, each month a square cell with its number over its dates in seven
// weekday columns. Every output draws it through this one function: the window's canvas,
// its printed page, and dorva-render's images and PDF pages.
#pragma once

#include "Rect.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"

class BBitmap;
class BView;

// Draws the band over area in view: the translucent fill, the month numbers and every date
// of the year in its colour, with the attributes' colours and fonts, in the dates' year,
// week start and holidays. While the dates are the defaults, 2007 is laid out by what_day.
// The view keeps the drawing state that the band leaves: B_OP_COPY, the date font, the
// colours of the last date and an opaque black view colour. With a band position other
// than top or bottom, only the fonts and colours are set.
// The picture under the band (null for none) is what the readable style reads the ground
// from.
void draw_calendar_band(BView* view, const BBitmap* picture, BRect area,
	const calendar_attributes& attributes, const calendar_settings& dates);
