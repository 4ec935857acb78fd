#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "CanvasProbe.h"
#include "ProgramHarness.h"
#include "calendar_attributes.h"
#include "canvas_codes.h"
#include "dorvaview.h"
#include "pic.h"
#include "window_title.h"

namespace {

const uint8 kGrey = 200;

class CalendarDrawing : public ::testing::Test {
protected:
	void SetUp() override
	{
		canvas = program.Canvas();
		// Colours that tell Sundays, Saturdays and holidays apart.
		atr.holy_col = 0xff00ff;
		show_picture(canvas, make_picture(601, 401, kGrey, kGrey, kGrey));
		monthHeight = line_height(100.0f / 7);
		dayHeight = line_height(10);
	}

	// The box in which the date (month, day) of the band at the bottom is drawn.
	void DateBox(int month, int day, int* centreX, int* top, int* bottom)
	{
		int row, weekday, holiday;
		ASSERT_EQ(canvas->what_day(2007, month, day, &row, &weekday, &holiday), 0);
		int x0 = 100 * ((month - 1) % 6);
		int y0 = 100 * ((month - 1) / 6);
		*centreX = x0 + 100 * (weekday + 1) / 8;
		int baseline = 200 + y0 + monthHeight + dayHeight * (row + 1);
		*top = baseline - dayHeight + 2;
		*bottom = baseline;
	}

	InkCount DateInk(int month, int day, const std::function<bool(rgb_color)>& colour)
	{
		int x, top, bottom;
		DateBox(month, day, &x, &top, &bottom);
		return count_ink(canvas, x - 7, top, x + 7, bottom, colour);
	}

	ProgramHarness program;
	dorvaview* canvas = nullptr;
	int monthHeight = 0;
	int dayHeight = 0;
};

TEST_F(CalendarDrawing, BandHalvesThePictureAlongTheBottomThird)
{
	EXPECT_EQ(pic, BRect(0, 0, 600, 400));
	// Above the band the picture is untouched; inside it, darkened to about half.
	for (int y : {0, 100, 199}) {
		EXPECT_EQ(kit::testing::ViewPixel(canvas, 3, y).red, kGrey) << y;
		EXPECT_EQ(kit::testing::ViewPixel(canvas, 598, y).green, kGrey) << y;
	}
	for (int y : {201, 300, 399}) {
		rgb_color c = kit::testing::ViewPixel(canvas, 3, y);
		EXPECT_NEAR(c.red, kGrey / 2, 2) << y;
		EXPECT_NEAR(c.blue, kGrey / 2, 2) << y;
	}
}

TEST_F(CalendarDrawing, MonthNumbersAndDatesStandInTheirColumns)
{
	// The month number 1 is green and centred on x = 50 of its cell.
	InkCount january = count_ink(canvas, 0, 200, 99, 200 + monthHeight, is_green);
	ASSERT_GT(january.count, 5);
	EXPECT_NEAR(january.meanX, 50, 2);
	InkCount july = count_ink(canvas, 0, 300, 99, 300 + monthHeight, is_green);
	ASSERT_GT(july.count, 5);
	EXPECT_NEAR(july.meanX, 50, 2);

	// 31 December, a plain Monday in the sixth row, is black and centred on x = 525.
	InkCount last = DateInk(12, 31, is_black);
	ASSERT_GT(last.count, 5);
	EXPECT_NEAR(last.meanX, 525, 2);
	// 1 January, a Monday and a holiday, at x = 25.
	InkCount first = DateInk(1, 1, is_magenta);
	ASSERT_GT(first.count, 3);
	EXPECT_NEAR(first.meanX, 25, 2);
}

TEST_F(CalendarDrawing, SundaysSaturdaysAndHolidaysCarryTheirColours)
{
	EXPECT_GT(DateInk(2, 11, is_red).count, 5); // a Sunday
	EXPECT_EQ(DateInk(2, 11, is_magenta).count, 0);
	EXPECT_GT(DateInk(2, 12, is_magenta).count, 5); // the Monday after it, a holiday
	EXPECT_GT(DateInk(5, 5, is_magenta).count, 5);  // a Saturday that is a holiday
	EXPECT_EQ(DateInk(5, 5, is_blue).count, 0);
	EXPECT_GT(DateInk(5, 12, is_blue).count, 5); // a plain Saturday
	EXPECT_GT(DateInk(11, 3, is_magenta).count, 5);
	EXPECT_GT(DateInk(6, 13, is_black).count, 5); // a plain Wednesday
}

TEST_F(CalendarDrawing, BandAtTheTopOrNowhereAndTheStateItLeaves)
{
	atr.band_pos = BAND_AT_TOP;
	canvas->Draw(canvas->Bounds());
	EXPECT_NEAR(kit::testing::ViewPixel(canvas, 3, 5).red, kGrey / 2, 2);
	EXPECT_EQ(kit::testing::ViewPixel(canvas, 3, 398).red, kGrey);
	InkCount january = count_ink(canvas, 0, 0, 99, monthHeight, is_green);
	EXPECT_NEAR(january.meanX, 50, 2);

	// Any other position: no band and no text, but the drawing state is left as always.
	atr.band_pos = 3;
	delete canvas->image;
	canvas->image = make_picture(601, 401, kGrey, kGrey, kGrey);
	canvas->Draw(canvas->Bounds());
	InkCount anything = count_ink(canvas, 0, 0, 600, 400,
		[](rgb_color c) { return c.red != kGrey || c.green != kGrey || c.blue != kGrey; });
	EXPECT_EQ(anything.count, 0);
	EXPECT_EQ(canvas->DrawingMode(), B_OP_COPY);
	EXPECT_EQ(canvas->HighColor(), make_color(0, 0, 0));
	EXPECT_EQ(canvas->LowColor(), make_color(64, 64, 64));
	EXPECT_EQ(canvas->ViewColor(), make_color(0, 0, 0));
	BFont font;
	canvas->GetFont(&font);
	EXPECT_FLOAT_EQ(font.Size(), 10);
}

TEST_F(CalendarDrawing, ClosedCanvasDrawsItsTextsInTheColoursLeftBehind)
{
	BMessenger(canvas).SendMessage(CMD_FILE_CLOSE);
	program.Idle();
	kit::testing::UpdateView(canvas);
	EXPECT_EQ(canvas->image, nullptr);
	EXPECT_EQ(pic, BRect(-1, -1, -1, -1));
	EXPECT_STREQ(program.Window()->Title(), "dorva ver.0.00");
	EXPECT_EQ(program.Window()->Frame().Width(), 200);
	// Black text on black: where "dorva" stands, at most the glyphs' edges show, in the
	// dark grey low colour that the last date left; nothing is brighter than that.
	InkCount bright = count_ink(canvas, 0, 0, 185, 115,
		[](rgb_color c) { return c.red > 64 || c.green > 64 || c.blue > 64; });
	EXPECT_EQ(bright.count, 0);
	InkCount edges = count_ink(canvas, 40, 20, 180, 90, [](rgb_color c) { return c.red > 0; });
	EXPECT_GT(edges.count, 0);
	// A second close changes nothing.
	BMessenger(canvas).SendMessage(CMD_FILE_CLOSE);
	program.Idle();
	EXPECT_EQ(pic, BRect(-1, -1, -1, -1));
}

TEST(CalendarWindow, TitlesAndSizesFollowThePicture)
{
	ProgramHarness program;
	dorvaview* canvas = program.Canvas();
	set_title(canvas->title, "photo.png");
	show_picture(canvas, make_picture(640, 480, 10, 20, 30));
	EXPECT_STREQ(program.Window()->Title(), "photo.png[640x480]");
	EXPECT_EQ(program.Window()->Frame().Width(), 653);

	// A picture one pixel wide sizes the window as if it were the empty canvas's width.
	set_title(canvas->title, "thin");
	show_picture(canvas, make_picture(1, 50, 10, 20, 30));
	EXPECT_STREQ(program.Window()->Title(), "thin[1x50]");
	float minW, maxW, minH, maxH;
	program.Window()->GetSizeLimits(&minW, &maxW, &minH, &maxH);
	EXPECT_EQ(maxW, 200);
	EXPECT_EQ(maxH, 83);

	// redraw(false) keeps size and limits.
	delete canvas->image;
	canvas->image = make_picture(300, 300, 1, 2, 3);
	canvas->redraw(false);
	program.Window()->GetSizeLimits(&minW, &maxW, &minH, &maxH);
	EXPECT_EQ(maxW, 200);
	EXPECT_STREQ(program.Window()->Title(), "thin[300x300]");
}

rgb_color bitmap_pixel(const BBitmap& bitmap, int x, int y)
{
	BRect bounds = bitmap.Bounds();
	const uint8* bits = static_cast<const uint8*>(bitmap.Bits())
		+ size_t(y - int(bounds.top)) * bitmap.BytesPerRow() + size_t(x - int(bounds.left)) * 4;
	return rgb_color{bits[2], bits[1], bits[0], 255};
}

// The kept pixels of the canvas that differ from the same place of a drawing whose Bounds()
// hold them in the view's coordinates; and how many of them are dates or month numbers.
struct Comparison {
	int differing = 0;
	int ink = 0;
};
Comparison compare_kept(dorvaview* canvas, const BBitmap& drawing)
{
	Comparison result;
	BRect kept = kit::testing::KeptArea(canvas);
	BPoint scroll = canvas->Bounds().LeftTop();
	for (int y = int(kept.top); y <= int(kept.bottom); y++) {
		for (int x = int(kept.left); x <= int(kept.right); x++) {
			rgb_color pixel = kit::testing::ViewPixel(canvas, x, y);
			rgb_color drawn = bitmap_pixel(drawing, x + int(scroll.x), y + int(scroll.y));
			result.differing += pixel != drawn;
			result.ink += pixel.red != kGrey / 2 && pixel.red != kGrey;
		}
	}
	return result;
}

// A picture larger than the screen: the canvas keeps pixels only for what can be shown and
// draws the rest as it comes into sight, with the pixels that one drawing of the whole band
// gives, however the drawing is cut up.
TEST(CalendarLargePicture, WhatComesIntoSightLooksAsTheWholeDrawing)
{
	ProgramHarness program;
	dorvaview* canvas = program.Canvas();
	show_picture(canvas, make_picture(1800, 1200, kGrey, kGrey, kGrey));
	EXPECT_EQ(pic, BRect(0, 0, 1799, 1199));
	BRect kept = kit::testing::KeptArea(canvas);
	ASSERT_TRUE(kept.IsValid());
	EXPECT_LT(kept.Width(), 1799) << "the screen is expected to be smaller than the picture";

	// One drawing of all the canvas and beyond it; the band begins at y = 1199 - 2 * 1799 / 6,
	// about 599.
	std::unique_ptr<BBitmap> band(kit::testing::RenderView(canvas, BRect(0, 0, 2599, 2099)));
	ASSERT_NE(band, nullptr);

	// Scrolled down into the band, by bits and then at once.
	canvas->ScrollTo(0, 300);
	kit::testing::UpdateView(canvas);
	for (int step = 0; step < 6; step++) {
		canvas->ScrollBy(0, 47);
		kit::testing::UpdateView(canvas);
	}
	Comparison scrolled = compare_kept(canvas, *band);
	EXPECT_EQ(scrolled.differing, 0);
	EXPECT_GT(scrolled.ink, 500);

	// Small updates cut through dates and month numbers.
	canvas->ScrollTo(200, 700);
	kit::testing::UpdateView(canvas);
	for (int i = 0; i < 8; i++) {
		canvas->Invalidate(BRect(200 + i * 53, 700 + i * 31, 200 + i * 53 + 40, 700 + i * 31 + 25));
		kit::testing::UpdateView(canvas);
	}
	Comparison updated = compare_kept(canvas, *band);
	EXPECT_EQ(updated.differing, 0);
	EXPECT_GT(updated.ink, 500);
}

// The length of the UTF-8 sequence that starts with this byte; 0 for a byte that starts none.
int sequence_length(unsigned char first)
{
	if (first < 0x80)
		return 1;
	if ((first >> 5) == 6)
		return 2;
	if ((first >> 4) == 14)
		return 3;
	if ((first >> 3) == 30)
		return 4;
	return 0;
}

bool valid_utf8(const char* text)
{
	for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p;) {
		int length = sequence_length(*p);
		if (length == 0)
			return false;
		for (int i = 1; i < length; i++) {
			if ((p[i] & 0xc0) != 0x80)
				return false;
		}
		p += length;
	}
	return true;
}

TEST(CalendarWindow, LongNamesAreShortenedWithoutBreakingACharacter)
{
	std::string name;
	for (int i = 0; i < 80; i++)
		name += "é";
	char title[kTitleSize];
	set_title(title, name.c_str());
	EXPECT_LE(std::strlen(title), kTitleSize - 1);
	EXPECT_TRUE(valid_utf8(title));
	EXPECT_EQ(std::strlen(title) % 2, 0u);

	char windowTitle[kTitleSize];
	format_window_title(windowTitle, title, 4000, 3000);
	EXPECT_LE(std::strlen(windowTitle), kTitleSize - 1);
	EXPECT_TRUE(valid_utf8(windowTitle));
	std::string text(windowTitle);
	EXPECT_EQ(text.substr(text.size() - 11), "[4000x3000]");
}

} // namespace
