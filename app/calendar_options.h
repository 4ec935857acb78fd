// The calendar's command-line options, which dorva and dorva-render share:
//   --year N                 the year, date_table::kFirstYear to kLastYear (2007)
//   --holidays SET|FILE      jp (the default), none, or an iCalendar file; repeatable, and
//                            the sets given are combined
//   --week-start sunday|monday
//   --band top|bottom|auto   auto: the calmer edge of each picture (calm_edge.h)
//   --style plain|readable   readable: dates that stay legible over any picture
#pragma once

#include <getopt.h>

#include <string>
#include <vector>

#include "SupportDefs.h"
#include "calendar_settings.h"
#include "dorvaview.h"

struct calendar_options {
	int year = kCalendarYear;
	// The holiday sources in the order given; none given stands for kDefaultHolidays.
	std::vector<std::string> holidays;
	week_start start = SUNDAY_FIRST;
	// BAND_AT_TOP or BAND_AT_BOTTOM; 0 leaves the canvas's own default.
	uint8 band_pos = 0;
	// --band auto: the band is placed anew for every picture.
	bool band_follows_picture = false;
	calendar_style style = STYLE_PLAIN;
};

// getopt_long's codes for these options; a program's own long options take codes from
// OPTION_FIRST_FREE on.
enum calendar_option_code : int {
	OPTION_YEAR = 0x100,
	OPTION_HOLIDAYS,
	OPTION_WEEK_START,
	OPTION_BAND,
	OPTION_STYLE,
	OPTION_FIRST_FREE,
};

// Their entries for getopt_long's table.
std::vector<option> calendar_option_table();

// Reads the value of one of them into options. False, with a one-line message naming the
// option, for a value it refuses (a holiday file is only read by apply_calendar_options).
bool read_calendar_option(
	int code, const char* value, calendar_options* options, std::string* error);

// The usage's lines for them.
extern const char kCalendarOptionsUsage[];

// Sets cal from the options, the style and whether the band follows the picture included.
// A holiday source that cannot be read is left out and its message (naming the file, and
// the line where there is one) is added to errors; the result is then false.
bool apply_calendar_options(const calendar_options& options, std::vector<std::string>* errors);

// Puts the band where the options say. The canvas's constructor gives atr its defaults, so
// this comes after the canvas is made.
void apply_band_option(const calendar_options& options);
