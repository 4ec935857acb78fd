#include "readable_style.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "band_layout.h"
#include "picture_pixels.h"

namespace {

// The luminance a light fill is raised to at least, and a dark fill lowered to at most:
// against a black or a white halo these give about 10:1, well past kReadableContrast, so
// that rounding to 8-bit channels and antialiased edges cannot bring a number near it.
const double kLightFill = 0.45;
const double kDarkFill = 0.06;
const uint32 kDarkHalo = 0x000000;
const uint32 kLightHalo = 0xffffff;

// Points sampled across and down the box under a number to judge its ground.
const int kGroundSamples = 6;

// The outline's width in em of the number's font, and at least a pixel and a half, so that
// even the smallest dates keep a visible ring.
const float kHaloEm = 0.16f;
const float kSmallestHalo = 1.5f;

const int kColumns = 7;
const int kLongestMonth = 31;

// sRGB channel (0 to 255) to linear light (0 to 1), by table.
double linear(uint8 channel)
{
	static const std::array<double, 256> table = [] {
		std::array<double, 256> values{};
		for (int i = 0; i < 256; i++) {
			double v = i / 255.0;
			values[i] = v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
		}
		return values;
	}();
	return table[channel];
}

uint8 srgb(double light)
{
	light = std::clamp(light, 0.0, 1.0);
	double v = light <= 0.0031308 ? light * 12.92 : 1.055 * std::pow(light, 1 / 2.4) - 0.055;
	return uint8(std::lround(v * 255));
}

uint8 channel(uint32 color, int shift)
{
	return uint8((color >> shift) & 0xff);
}

double luminance_of(double red, double green, double blue)
{
	return 0.2126 * red + 0.7152 * green + 0.0722 * blue;
}

uint32 pack(double red, double green, double blue)
{
	return uint32(srgb(red)) << 16 | uint32(srgb(green)) << 8 | srgb(blue);
}

// The colour mixed with white, in linear light, until its luminance reaches kLightFill:
// adding the same light to every channel keeps the hue.
uint32 lightened(uint32 color)
{
	double r = linear(channel(color, 16)), g = linear(channel(color, 8)),
		   b = linear(channel(color, 0));
	double l = luminance_of(r, g, b);
	if (l >= kLightFill)
		return color & 0xffffff;
	double t = (kLightFill - l) / (1 - l);
	return pack(r + (1 - r) * t, g + (1 - g) * t, b + (1 - b) * t);
}

// The colour dimmed, in linear light, until its luminance falls to kDarkFill: scaling every
// channel alike keeps the hue.
uint32 darkened(uint32 color)
{
	double r = linear(channel(color, 16)), g = linear(channel(color, 8)),
		   b = linear(channel(color, 0));
	double l = luminance_of(r, g, b);
	if (l <= kDarkFill)
		return color & 0xffffff;
	double k = kDarkFill / l;
	return pack(r * k, g * k, b * k);
}

rgb_color rgb(uint32 color)
{
	return rgb_color{channel(color, 16), channel(color, 8), channel(color, 0), 255};
}

} // namespace

double relative_luminance(uint32 color)
{
	return luminance_of(
		linear(channel(color, 16)), linear(channel(color, 8)), linear(channel(color, 0)));
}

double contrast_ratio(double luminance, double otherLuminance)
{
	double lighter = std::max(luminance, otherLuminance);
	double darker = std::min(luminance, otherLuminance);
	return (lighter + 0.05) / (darker + 0.05);
}

number_colors readable_colors(uint32 classColor, double groundLuminance)
{
	number_colors light{lightened(classColor), kDarkHalo};
	number_colors dark{darkened(classColor), kLightHalo};
	// The fill that stands out more from the ground; its halo then blends into the ground
	// and only rings the glyphs where the ground is busy.
	double lightContrast = contrast_ratio(relative_luminance(light.fill), groundLuminance);
	double darkContrast = contrast_ratio(relative_luminance(dark.fill), groundLuminance);
	return lightContrast >= darkContrast ? light : dark;
}

double ground_luminance(const BBitmap* picture, BRect box, uint32 bandColor)
{
	const picture_pixels pixels(picture);
	const int alpha = int(bandColor >> 24);
	auto over = [alpha](uint8 band, uint8 under) {
		return uint8((band * alpha + under * (255 - alpha) + 127) / 255);
	};
	double sum = 0;
	for (int i = 0; i < kGroundSamples; i++) {
		for (int j = 0; j < kGroundSamples; j++) {
			int x = int(std::floor(box.left + box.Width() * (i + 0.5f) / kGroundSamples));
			int y = int(std::floor(box.top + box.Height() * (j + 0.5f) / kGroundSamples));
			uint32 under = pixels.contains(x, y) ? pixels.at(x, y) : 0;
			uint32 seen = uint32(over(channel(bandColor, 16), channel(under, 16))) << 16
				| uint32(over(channel(bandColor, 8), channel(under, 8))) << 8
				| over(channel(bandColor, 0), channel(under, 0));
			sum += relative_luminance(seen);
		}
	}
	return sum / (kGroundSamples * kGroundSamples);
}

float narrowest_date_gap(float cellSide, const BFont& dateFont)
{
	// Dates in neighbouring columns are placed as the band places them: centred on the
	// eighths of their cell, moved left by the integer half of their advance.
	const float c = cellSide;
	float narrowest = c;
	char left[16], right[16];
	for (int day = 1; day < kLongestMonth; day++) {
		std::snprintf(left, sizeof(left), "%d", day);
		std::snprintf(right, sizeof(right), "%d", day + 1);
		const float leftEnd =
			-int(dateFont.StringWidth(left)) / 2 + dateFont.StringBounds(left).right;
		const float rightStart =
			-int(dateFont.StringWidth(right)) / 2 + dateFont.StringBounds(right).left;
		for (int column = 0; column + 1 < kColumns; column++) {
			float step =
				c * (column + 2) / kDateColumnDivisor - c * (column + 1) / kDateColumnDivisor;
			narrowest = std::min(narrowest, step + rightStart - leftEnd - 1);
		}
	}
	return narrowest;
}

float readable_date_size(float cellSide, const BFont& dateFont)
{
	// Fonts are measured once per family and size; the cell side changes only with the
	// picture, so the last answer is kept.
	thread_local struct {
		float cellSide = -1;
		BFont font;
		float size = 0;
	} last;
	if (last.cellSide == cellSide && last.font.Family() == dateFont.Family()
		&& last.font.Style() == dateFont.Style() && last.font.Face() == dateFont.Face())
		return last.size;

	BFont font(dateFont);
	float size = cellSide / kDateSizeDivisor;
	const float column = cellSide / kDateColumnDivisor;
	for (int attempt = 0; attempt < 12 && size > 0; attempt++) {
		font.SetSize(size);
		float gap = narrowest_date_gap(cellSide, font);
		if (gap >= kReadableGapEm * size)
			break;
		// The ink narrows with the size while the columns stay: shrink by what is missing,
		// a little more, since glyphs do not scale exactly with their size.
		float ink = column - gap;
		size *= 0.99f * column / (ink + kReadableGapEm * size);
	}
	last.cellSide = cellSide;
	last.font = dateFont;
	last.size = size;
	return size;
}

float halo_width(float fontSize)
{
	return std::max(kSmallestHalo, kHaloEm * fontSize);
}

void draw_readable_number(BView* view, const BBitmap* picture, const char* text, BPoint baseline,
	uint32 classColor, uint32 bandColor)
{
	BFont font;
	view->GetFont(&font);
	const float halo = halo_width(font.Size());
	BRect under = font.StringBounds(text).OffsetByCopy(baseline.x, baseline.y);
	under.InsetBy(-halo / 2, -halo / 2);
	const number_colors colors =
		readable_colors(classColor, ground_luminance(picture, under, bandColor));

	view->SetHighColor(rgb(colors.fill));
	view->SetLowColor(rgb(colors.halo));
	view->DrawStringInOutline(text, baseline, halo);
}
