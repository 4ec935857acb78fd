// Where the band goes when it follows the picture (--band auto): along the edge, top or
// bottom, where the picture under it is calmer, so that a sky takes the calendar and the
// faces below it keep their place.
#pragma once

#include "Bitmap.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"

// The mean local contrast (gradient energy, in luminance steps of 0 to 255) of the rows
// first to last of the picture, measured between points a step apart, where step is the
// scale of the band's strokes rather than of the picture's grain.
double gradient_energy(const BBitmap* picture, int firstRow, int lastRow);

// The edge whose band-high strip (a third of the picture's width) is calmer; the bottom,
// where the band lies by default, when neither is.
band_position calmer_edge(const BBitmap* picture);

// A picture has just arrived: when the dates say the band follows the picture, the
// attributes' band is moved to the calmer edge of this one; otherwise nothing changes.
void place_band_for_picture(
	const BBitmap* picture, const calendar_settings& dates, calendar_attributes* attributes);
