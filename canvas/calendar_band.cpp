#include "calendar_band.h"

#include <cstdio>

#include "View.h"
#include "band_layout.h"
#include "readable_style.h"
#include "what_day_2007.h"

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
static bool place_date(const calendar_settings& dates, int month, int day, date_place* place)
{
	if (dates.is_default()) {
		int row, weekday, holiday;
		if (what_day_2007(kCalendarYear, month, day, &row, &weekday, &holiday) != DATE_VALID)
			return false;
		*place = date_place{row, weekday, weekday, holiday != 0};
		return true;
	}
	return dates.table().find(month, day, place);
}

// Draws a month number or a date of the band. The plain style draws it in the text colours
// already set; the readable style chooses its own from the ground under it.
static void draw_number(BView* view, const BBitmap* picture, const calendar_settings& dates,
	const char* text, BPoint baseline, uint32 color, uint32 bandColor)
{
	if (dates.style() == STYLE_READABLE)
		draw_readable_number(view, picture, text, baseline, color, bandColor);
	else
		view->DrawString(text, baseline);
}

static int font_line_height(const BFont& font)
{
	font_height height;
	font.GetHeight(&height);
	return int(height.ascent + height.descent);
}

void draw_calendar_band(BView* view, const BBitmap* picture, BRect area,
	const calendar_attributes& attributes, const calendar_settings& dates)
{
	view->SetViewColor(0, 0, 0, 255);

	const float left = area.left;
	const float top = area.top;
	const float right = area.right;
	const float bottom = area.bottom;

	const float c = (right - left) / kMonthsPerRow;
	const bool visible =
		attributes.band_pos == BAND_AT_TOP || attributes.band_pos == BAND_AT_BOTTOM;

	view->SetDrawingMode(B_OP_ALPHA);
	view->SetHighColor((attributes.bg_col >> 16) & 0xff, (attributes.bg_col >> 8) & 0xff,
		attributes.bg_col & 0xff, (attributes.bg_col >> 24) & 0xff);
	if (attributes.band_pos == BAND_AT_TOP)
		view->FillRect(BRect(left, top, right, top + kMonthRows * c), B_SOLID_HIGH);
	else if (attributes.band_pos == BAND_AT_BOTTOM)
		view->FillRect(BRect(left, bottom - kMonthRows * c, right, bottom), B_SOLID_HIGH);
	view->SetDrawingMode(B_OP_COPY);
	const float bandTop = attributes.band_pos == BAND_AT_TOP ? top : bottom - kMonthRows * c;

	BFont monthFont =
		calendar_font(attributes.month_family, attributes.month_style, c / kMonthNumberSizeDivisor);
	view->SetFont(&monthFont, B_FONT_ALL);
	const int monthHeight = font_line_height(monthFont);

	set_text_colors(view, attributes.month_col);
	char text[16];
	for (int i = 0; i < kMonths; i++) {
		std::snprintf(text, sizeof(text), "%d", i + 1);
		int width = int(view->StringWidth(text));
		int x0 = int(c * (i % kMonthsPerRow));
		int y0 = int(c * (i / kMonthsPerRow));
		if (visible) {
			draw_number(view, picture, dates, text,
				BPoint(left + x0 + c / 2 - width / 2, bandTop + y0 + monthHeight),
				attributes.month_col, attributes.bg_col);
		}
	}

	BFont dayFont =
		calendar_font(attributes.day_family, attributes.day_style, c / kDateSizeDivisor);
	if (dates.style() == STYLE_READABLE)
		dayFont.SetSize(readable_date_size(c, dayFont));
	view->SetFont(&dayFont, B_FONT_ALL);
	const int dayHeight = font_line_height(dayFont);

	for (int month = 1; month <= kMonths; month++) {
		int x0 = int(c * ((month - 1) % kMonthsPerRow));
		int y0 = int(c * ((month - 1) / kMonthsPerRow));
		for (int day = 1; day <= kLongestMonth; day++) {
			date_place place;
			if (!place_date(dates, month, day, &place))
				break;
			uint32 color = attributes.week_col;
			if (place.holiday)
				color = attributes.holy_col;
			else if (place.weekday == kSunday)
				color = attributes.sun_col;
			else if (place.weekday == kSaturday)
				color = attributes.sat_col;
			set_text_colors(view, color);

			std::snprintf(text, sizeof(text), "%d", day);
			int width = int(view->StringWidth(text));
			if (visible) {
				const float centre = left + x0 + c * (place.column + 1) / kDateColumnDivisor;
				draw_number(view, picture, dates, text,
					BPoint(centre - width / 2,
						bandTop + y0 + monthHeight + dayHeight * (place.row + 1)),
					color, attributes.bg_col);
			}
		}
	}
}
