// The readable style of the band: every date and month number gets a halo, an outline a
// few pixels wide, whose colour stands out against the number's fill by at least
// kReadableContrast; the fill is light or dark by the ground actually under the number,
// keeping the hue of its class (a light red for Sundays over dark ground, a deep red over
// light ground); and dates are sized so that two-digit neighbours stay kReadableGapEm apart.
#pragma once

#include "Bitmap.h"
#include "Font.h"
#include "View.h"

// WCAG's AA figure for text: the least contrast between a number's fill and its halo.
inline constexpr double kReadableContrast = 4.5;
// The least clear space between the ink of two neighbouring dates, in em of their font.
inline constexpr float kReadableGapEm = 0.25f;

struct number_colors {
	uint32 fill; // 0xRRGGBB
	uint32 halo; // 0xRRGGBB
};

// The relative luminance of a 0xRRGGBB colour, 0 (black) to 1 (white), as WCAG defines it.
double relative_luminance(uint32 color);
// The contrast of two luminances, the lighter over the darker: 1 to 21.
double contrast_ratio(double luminance, double otherLuminance);

// The fill and halo of a number whose class has the colour classColor, over ground of the
// luminance given: a light fill in a black halo over dark ground, a dark fill in a white
// halo over light ground.
number_colors readable_colors(uint32 classColor, double groundLuminance);

// The mean luminance of what lies under box (canvas coordinates, which are the picture's
// pixels): the band of colour bandColor (0xAARRGGBB) over the picture. Where the box
// leaves the picture, the band lies over black.
double ground_luminance(const BBitmap* picture, BRect box, uint32 bandColor);

// The narrowest clear space, in pixels, between the ink of two neighbouring dates of a
// week when cells are cellSide wide and dates are set in dateFont (its size included).
// Glyph edges are counted a pixel wider than their box, for antialiasing.
float narrowest_date_gap(float cellSide, const BFont& dateFont);
// The size of the dates in cells cellSide wide: the band's usual tenth of the cell, or less
// where two-digit neighbours would otherwise come closer than kReadableGapEm.
float readable_date_size(float cellSide, const BFont& dateFont);
// The width of the outline drawn around a number set at fontSize.
float halo_width(float fontSize);

// Draws a number in the view's font at baseline: its halo, then its fill, coloured by the
// ground under it (the band of bandColor over picture, which may be null).
void draw_readable_number(BView* view, const BBitmap* picture, const char* text, BPoint baseline,
	uint32 classColor, uint32 bandColor);
