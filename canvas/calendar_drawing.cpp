#include <cmath>
#include <cstdio>

#include "band_layout.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "dorvaview.h"
#include "pic.h"
#include "program_name.h"
#include "readable_style.h"

// The empty canvas shows the program's name and, below it, its version.
const float kNameSize = 30;
constexpr BPoint kNamePlace(45, 50);
const float kVersionSize = 20;
constexpr BPoint kVersionPlace(75, 80);

// The band holds the twelve months in two rows of six; each month's cell is a square of a
// sixth of the drawing area's width.
const int kMonths = 12;
const int kMonthsPerRow = 6;
const int kMonthRows = kMonths / kMonthsPerRow;
const int kLongestMonth = 31;
// Month numbers are set at a seventh of a cell's side, dates at a tenth (band_layout.h).
const float kMonthNumberSizeDivisor = 7;

// A colour channel moved halfway towards the middle grey, 128.
static uint8 halfway_to_grey(uint8 value)
{
	return uint8(value / 2 + 64);
}

// Text colours for a colour of the attributes: the colour itself, and a low colour halfway
// to grey that the glyphs' edges blend into.
static void set_text_colors(BView* view, uint32 color)
{
	uint8 red = (color >> 16) & 0xff;
	uint8 green = (color >> 8) & 0xff;
	uint8 blue = color & 0xff;
	view->SetHighColor(red, green, blue, 255);
	view->SetLowColor(halfway_to_grey(red), halfway_to_grey(green), halfway_to_grey(blue), 255);
}

// The font named by family and style at a size; the plain font where they are unknown.
static BFont calendar_font(const char* family, const char* style, float size)
{
	BFont font;
	font.SetFamilyAndStyle(family, style);
	font.SetSize(size);
	return font;
}

// Where a date of the calendar's year stands in its month, and whether it is a holiday;
// false for a day past the month's end. While the defaults hold this asks what_day, as the
// band of 2007 has always been drawn; any other year, holiday set or week start is looked up
// in the year's table.
static bool place_date(dorvaview* view, int month, int day, date_place* place)
{
	if (cal.is_default()) {
		int row, weekday, holiday;
		if (view->what_day(kCalendarYear, month, day, &row, &weekday, &holiday) != DATE_VALID)
			return false;
		*place = date_place{row, weekday, weekday, holiday != 0};
		return true;
	}
	return cal.table().find(month, day, place);
}

// Draws a month number or a date of the band. The plain style draws it in the text colours
// already set; the readable style chooses its own from the ground under it.
static void draw_number(dorvaview* view, const char* text, BPoint baseline, uint32 color)
{
	if (cal.style() == STYLE_READABLE)
		draw_readable_number(view, view->image, text, baseline, color, atr.bg_col);
	else
		view->DrawString(text, baseline);
}

static int font_line_height(const BFont& font)
{
	font_height height;
	font.GetHeight(&height);
	return int(height.ascent + height.descent);
}

void dorvaview::Draw(BRect updateRect)
{
	if (image != nullptr) {
		DrawBitmap(image, updateRect, updateRect);
		draw_cal();
		return;
	}
	// The empty canvas: only the sizes are set, so the texts take whatever colour and font
	// the view holds (white bold at first, what the last calendar drawing left later on).
	SetFontSize(kNameSize);
	DrawString(kProgramName, kNamePlace);
	SetFontSize(kVersionSize);
	DrawString(kProgramVersion, kVersionPlace);
}

void dorvaview::draw_cal()
{
	SetViewColor(0, 0, 0, 255);

	BRect area = IsPrinting() ? Bounds() : pic;
	const float left = area.left;
	const float top = area.top;
	const float right = area.right;
	const float bottom = area.bottom;

	const float c = (right - left) / kMonthsPerRow;
	const bool visible = atr.band_pos == BAND_AT_TOP || atr.band_pos == BAND_AT_BOTTOM;

	SetDrawingMode(B_OP_ALPHA);
	SetHighColor((atr.bg_col >> 16) & 0xff, (atr.bg_col >> 8) & 0xff, atr.bg_col & 0xff,
		(atr.bg_col >> 24) & 0xff);
	if (atr.band_pos == BAND_AT_TOP)
		FillRect(BRect(left, top, right, top + kMonthRows * c), B_SOLID_HIGH);
	else if (atr.band_pos == BAND_AT_BOTTOM)
		FillRect(BRect(left, bottom - kMonthRows * c, right, bottom), B_SOLID_HIGH);
	SetDrawingMode(B_OP_COPY);
	const float bandTop = atr.band_pos == BAND_AT_TOP ? top : bottom - kMonthRows * c;

	BFont monthFont = calendar_font(atr.month_family, atr.month_style, c / kMonthNumberSizeDivisor);
	SetFont(&monthFont, B_FONT_ALL);
	const int monthHeight = font_line_height(monthFont);

	set_text_colors(this, atr.month_col);
	char text[16];
	for (int i = 0; i < kMonths; i++) {
		std::snprintf(text, sizeof(text), "%d", i + 1);
		int width = int(StringWidth(text));
		int x0 = int(c * (i % kMonthsPerRow));
		int y0 = int(c * (i / kMonthsPerRow));
		if (visible) {
			draw_number(this, text,
				BPoint(left + x0 + c / 2 - width / 2, bandTop + y0 + monthHeight), atr.month_col);
		}
	}

	BFont dayFont = calendar_font(atr.day_family, atr.day_style, c / kDateSizeDivisor);
	if (cal.style() == STYLE_READABLE)
		dayFont.SetSize(readable_date_size(c, dayFont));
	SetFont(&dayFont, B_FONT_ALL);
	const int dayHeight = font_line_height(dayFont);

	for (int month = 1; month <= kMonths; month++) {
		int x0 = int(c * ((month - 1) % kMonthsPerRow));
		int y0 = int(c * ((month - 1) / kMonthsPerRow));
		for (int day = 1; day <= kLongestMonth; day++) {
			date_place place;
			if (!place_date(this, month, day, &place))
				break;
			uint32 color = atr.week_col;
			if (place.holiday)
				color = atr.holy_col;
			else if (place.weekday == kSunday)
				color = atr.sun_col;
			else if (place.weekday == kSaturday)
				color = atr.sat_col;
			set_text_colors(this, color);

			std::snprintf(text, sizeof(text), "%d", day);
			int width = int(StringWidth(text));
			if (visible) {
				const float centre = left + x0 + c * (place.column + 1) / kDateColumnDivisor;
				draw_number(this, text,
					BPoint(centre - width / 2,
						bandTop + y0 + monthHeight + dayHeight * (place.row + 1)),
					color);
			}
		}
	}
}
