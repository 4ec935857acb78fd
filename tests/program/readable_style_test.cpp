// The readable style: every number's fill stands out from its halo, the fill follows the
// ground under it, and neighbouring dates keep a quarter em apart at every picture width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "CanvasProbe.h"
#include "ProgramHarness.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "readable_style.h"

namespace {

uint8 channel(uint32 color, int shift)
{
	return uint8((color >> shift) & 0xff);
}

double luminance(rgb_color c)
{
	return relative_luminance(uint32(c.red) << 16 | uint32(c.green) << 8 | c.blue);
}

TEST(ReadableStyle, EveryFillStandsOutFromItsHaloAndKeepsItsHue)
{
	// The band's own colours and many others, over grounds from black to white.
	std::vector<uint32> colors = {
		0x000000, 0xffffff, 0x00ff00, 0xff0000, 0x0000ff, 0xff00ff, 0xffff00, 0x808080};
	std::mt19937 random(23);
	for (int i = 0; i < 300; i++)
		colors.push_back(random() & 0xffffff);
	for (uint32 color : colors) {
		const int strongest = channel(color, 16) >= std::max(channel(color, 8), channel(color, 0))
			? 16
			: (channel(color, 8) >= channel(color, 0) ? 8 : 0);
		const bool chromatic = std::max({channel(color, 16), channel(color, 8), channel(color, 0)})
				- std::min({channel(color, 16), channel(color, 8), channel(color, 0)})
			>= 64;
		for (int step = 0; step <= 100; step++) {
			const double ground = step / 100.0;
			number_colors chosen = readable_colors(color, ground);
			double contrast =
				contrast_ratio(relative_luminance(chosen.fill), relative_luminance(chosen.halo));
			ASSERT_GE(contrast, kReadableContrast) << std::hex << color << " over " << ground;
			if (chromatic) {
				EXPECT_EQ(channel(chosen.fill, strongest),
					std::max({channel(chosen.fill, 16), channel(chosen.fill, 8),
						channel(chosen.fill, 0)}))
					<< std::hex << color << " became " << chosen.fill;
			}
		}
		// Over black the fill is light in a black halo; over white, dark in a white one.
		EXPECT_EQ(readable_colors(color, 0).halo, 0x000000u) << std::hex << color;
		EXPECT_EQ(readable_colors(color, 1).halo, 0xffffffu) << std::hex << color;
	}
	// A light red over dark ground, a deep red over light ground.
	uint32 light = readable_colors(0xff0000, 0.02).fill;
	uint32 deep = readable_colors(0xff0000, 0.9).fill;
	EXPECT_EQ(channel(light, 16), 255);
	EXPECT_GT(channel(light, 8), 100);
	EXPECT_LT(channel(deep, 16), 200);
	EXPECT_EQ(channel(deep, 8), 0);
}

TEST(ReadableStyle, GroundIsTheBandOverThePictureUnderTheBox)
{
	std::unique_ptr<BBitmap> picture(make_picture(100, 100, 255, 255, 255));
	// A fully transparent band leaves the white picture; an opaque black one hides it.
	EXPECT_NEAR(ground_luminance(picture.get(), BRect(10, 10, 30, 30), 0x00000000), 1, 1e-9);
	EXPECT_NEAR(ground_luminance(picture.get(), BRect(10, 10, 30, 30), 0xff000000), 0, 1e-9);
	// Half of the box beyond the picture's right edge: the band over black there.
	EXPECT_NEAR(ground_luminance(picture.get(), BRect(90, 10, 109, 30), 0x00000000), 0.5, 1e-9);
	EXPECT_NEAR(ground_luminance(nullptr, BRect(0, 0, 9, 9), 0x00ffffff), 0, 1e-9);
}

// Every width from 400 to 20000 pixels, in the plain and a bold font.
TEST(ReadableStyle, TwoDigitDatesKeepAQuarterEmApartAtEveryWidth)
{
	std::vector<int> widths = {400, 401, 402, 403, 404, 405, 406, 407, 19999, 20000};
	for (double width = 400; width < 20000; width *= 1.037)
		widths.push_back(int(width));
	std::mt19937 random(2007);
	for (int i = 0; i < 40; i++)
		widths.push_back(400 + int(random() % 19601));

	BFont bold;
	ASSERT_EQ(bold.SetFamilyAndStyle("DejaVu Sans", "Bold"), B_OK);
	for (const BFont& face : {BFont(), bold}) {
		for (int width : widths) {
			const float c = float(width - 1) / 6;
			BFont font(face);
			float size = readable_date_size(c, font);
			font.SetSize(size);
			EXPECT_GE(narrowest_date_gap(c, font), kReadableGapEm * size)
				<< width << " " << face.Family() << " " << face.Style();
			// Never larger than the plain band's dates, and not made needlessly small (below
			// a thousand pixels, the pixel kept for antialiasing weighs more).
			EXPECT_LE(size, c / 10) << width;
			EXPECT_GT(size, (width < 1000 ? 0.5f : 0.65f) * c / 10) << width;
		}
	}
}

class ReadableDrawing : public ::testing::Test {
protected:
	void SetUp() override
	{
		canvas = program.Canvas();
		cal.set_style(STYLE_READABLE);
	}

	ProgramHarness program;
	dorvaview* canvas = nullptr;
};

// Dark ground on the left half, light ground on the right: January's dates turn light in a
// black halo, June's dark in a white one.
TEST_F(ReadableDrawing, EachDateTakesItsFillFromTheGroundUnderIt)
{
	BBitmap* picture = make_picture(1201, 801, 0, 0, 0);
	auto* bits = static_cast<uint8*>(picture->Bits());
	for (int y = 0; y < 801; y++)
		std::memset(bits + size_t(y) * picture->BytesPerRow() + 600 * 4, 255, 601 * 4);
	atr.bg_col = 0x20000000; // a light band, so that white ground stays light
	show_picture(canvas, picture);

	// January's cell: (0, 400) to (199, 599); June's: (1000, 400) to (1199, 599).
	auto white = [](rgb_color c) { return c.red > 245 && c.green > 245 && c.blue > 245; };
	auto black = [](rgb_color c) { return c.red < 10 && c.green < 10 && c.blue < 10; };
	auto lightFill = [](rgb_color c) { return luminance(c) > 0.3 && luminance(c) < 0.9; };
	auto darkFill = [](rgb_color c) { return luminance(c) < 0.1 && c.red + c.green + c.blue > 0; };
	const int top = 440, bottom = 599;
	EXPECT_GT(count_ink(canvas, 0, top, 199, bottom, lightFill).count, 200);
	EXPECT_EQ(count_ink(canvas, 0, top, 199, bottom, white).count, 0);
	EXPECT_GT(count_ink(canvas, 1000, top, 1199, bottom, white).count, 200);
	EXPECT_GT(count_ink(canvas, 1000, top, 1199, bottom, darkFill).count, 200);
	// The band's own colour and opacity are kept: above the dates' rows, the white ground
	// is darkened by an eighth.
	EXPECT_NEAR(shown_pixel(canvas, 1195, 402).red, 255 - 32, 2);
	EXPECT_TRUE(black(shown_pixel(canvas, 5, 402)));
}

// Drawn, not only measured: between two neighbouring two-digit dates of a row, around the
// middle of their columns, no pixel of either fill.
TEST_F(ReadableDrawing, NeighbouringDatesLeaveClearSpaceBetweenThem)
{
	for (int width : {601, 1201, 2401}) {
		show_picture(canvas, make_picture(width, width / 3 + 1, 128, 128, 128));
		const float c = float(width - 1) / 6;
		BFont font;
		const float size = readable_date_size(c, font);
		font.SetSize(size);
		font_height height;
		font.GetHeight(&height);
		BFont month;
		month.SetSize(c / 7);
		font_height monthHeight;
		month.GetHeight(&monthHeight);
		// January 2007's third row, 14 to 20, from Sunday on; its baseline.
		const float bandTop = float(width / 3) - 2 * c;
		const int baseline = int(bandTop + int(monthHeight.ascent + monthHeight.descent)
			+ 3 * int(height.ascent + height.descent));
		// Over the darkened grey (64) the fills are light, their halos black.
		auto fill = [](rgb_color c) { return std::max({c.red, c.green, c.blue}) > 110; };
		int inked = 0;
		for (int column = 0; column < 6; column++) {
			const float between = c * (column + 1.5f) / 8;
			const int half = std::max(0, int(0.1f * size) - 1);
			InkCount there = count_ink(canvas, int(between) - half, baseline - int(size),
				int(between) + half, baseline, fill);
			EXPECT_EQ(there.count, 0) << width << " after column " << column;
			const int centre = int(c * (column + 1) / 8), reach = int(0.4f * size);
			inked += count_ink(
				canvas, centre - reach, baseline - int(size), centre + reach, baseline, fill)
						 .count;
		}
		EXPECT_GT(inked, 0) << width;
	}
}

} // namespace
