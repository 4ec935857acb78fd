// The drawing of the wall calendar's pages: the cover (the photo, the year over it in the
// readable style) and the month pages (photo, month and year, weekday names, the grid of
// days, the named days under it), laid out by wall_layout.h. Every page is drawn in points
// times a scale, so that one drawing makes both the PDF (1 unit a point) and an image at
// any resolution (dpi / 72 units a point).
#pragma once

#include <bitset>
#include <string>
#include <vector>

#include "Bitmap.h"
#include "Font.h"
#include "View.h"
#include "date_table.h"
#include "wall_layout.h"

// A line under the grid: a holiday or an event, by its day of the month.
struct wall_note {
	int day = 0;
	std::string text;
	bool event = false;
};

struct wall_style {
	// 0xRRGGBB. The day classes' colours are darkened on paper as far as the readable
	// style asks (readable_style.h), so that even pale ones can be read.
	uint32 text = 0x202020;
	uint32 title = 0x202020; // the month's name
	uint32 sunday = 0xff0000, saturday = 0x0000ff, holiday = 0xff0000;
	uint32 event = 0x0a8f5a;
	uint32 rule = 0xc8c8c8;  // the grid's lines
	uint32 quiet = 0x7a7a7a; // week numbers, the year beside the month
	font_family title_family = {}, day_family = {};
	font_style title_style = {}, day_style = {};
	bool crop_marks = false;
};

struct wall_month {
	int year = 0, month = 0;
	week_start start = SUNDAY_FIRST;
	bool week_numbers = false;
	std::string name;             // the month's name in the calendar's language
	std::string weekday_names[7]; // by weekday, 0 = Sunday
	std::bitset<32> holidays;     // by day of the month
	std::bitset<32> events;
	std::vector<wall_note> notes; // in the order to show
	int circled_day = 0;          // a day to circle (the photo's), 0 for none
};

// The photo of a page: the bitmap and the rectangle of the page (points) it fills.
struct wall_photo {
	const BBitmap* bitmap = nullptr;
	BRect place;
};

void draw_wall_cover(BView* view, float scale, const wall_cover_layout& layout,
	const std::string& yearText, const wall_style& style, const wall_photo& photo);

void draw_wall_month(BView* view, float scale, const wall_month_layout& layout,
	const wall_month& month, const wall_style& style, const wall_photo& photo);
