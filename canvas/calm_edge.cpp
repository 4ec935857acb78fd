#include "calm_edge.h"

#include <algorithm>
#include <cstdlib>

#include "calendar_settings.h"
#include "picture_pixels.h"

namespace {

// Points measured across the picture's width; steps between them stay at least a pixel.
const int kPointsAcross = 320;
// The band is a third of the picture's width high.
const int kBandDivisor = 3;

// Luminance, 0 to 255, close enough to judge detail: (2 red + 5 green + blue) / 8.
int luma(uint32 color)
{
	return int((2 * ((color >> 16) & 0xff) + 5 * ((color >> 8) & 0xff) + (color & 0xff)) / 8);
}

} // namespace

double gradient_energy(const BBitmap* picture, int firstRow, int lastRow)
{
	const picture_pixels pixels(picture);
	const int step = std::max(1, pixels.width() / kPointsAcross);
	firstRow = std::max(firstRow, 0);
	lastRow = std::min(lastRow, pixels.height() - 1);
	double sum = 0;
	long points = 0;
	for (int y = firstRow; y + step <= lastRow; y += step) {
		for (int x = 0; x + step < pixels.width(); x += step) {
			int here = luma(pixels.at(x, y));
			sum += std::abs(luma(pixels.at(x + step, y)) - here)
				+ std::abs(luma(pixels.at(x, y + step)) - here);
			points++;
		}
	}
	return points == 0 ? 0 : sum / points;
}

band_position calmer_edge(const BBitmap* picture)
{
	const picture_pixels pixels(picture);
	const int bandHeight = pixels.width() / kBandDivisor + 1;
	double top = gradient_energy(picture, 0, bandHeight - 1);
	double bottom = gradient_energy(picture, pixels.height() - bandHeight, pixels.height() - 1);
	return top < bottom ? BAND_AT_TOP : BAND_AT_BOTTOM;
}

void place_band_for_picture(
	const BBitmap* picture, const calendar_settings& dates, calendar_attributes* attributes)
{
	if (dates.band_follows_picture() && picture != nullptr)
		attributes->band_pos = calmer_edge(picture);
}
