// The calendar's command-line options, which dorva and dorva-render share:
//   --year N                 the year, date_table::kFirstYear to kLastYear (2007)
//   --holidays SET|FILE      a country's or region's set by its code (jp, the default; de,
//                            de-by), none, or an iCalendar file; repeatable, and the sets
//                            given are combined; "list" lists the sets
//   --week-start sunday|monday|saturday
//   --band top|bottom|auto   auto: the calmer edge of each picture (calm_edge.h)
//   --style plain|readable   readable: dates that stay legible over any picture
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "SupportDefs.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "option_parser.h"
#include "what_day_2007.h"

struct calendar_options {
	int year = kCalendarYear;
	// The holiday sources in the order given; none given stands for kDefaultHolidays.
	std::vector<std::string> holidays;
	week_start start = SUNDAY_FIRST;
	// Whether --week-start was given (a layout may otherwise follow the locale's week).
	bool start_given = false;
	// --holidays list: print the sets and end.
	bool list_holidays = false;
	// BAND_AT_TOP or BAND_AT_BOTTOM; 0 leaves the canvas's own default.
	uint8 band_pos = 0;
	// --band auto: the band is placed anew for every picture.
	bool band_follows_picture = false;
	calendar_style style = STYLE_PLAIN;
};

// The codes of these options; a program's own options take codes from OPTION_FIRST_FREE on.
enum calendar_option_code : int {
	OPTION_YEAR = 0x100,
	OPTION_HOLIDAYS,
	OPTION_WEEK_START,
	OPTION_BAND,
	OPTION_STYLE,
	OPTION_FIRST_FREE,
};

// Their entries for the option parser.
std::vector<option_spec> calendar_option_table();

// Reads the value of one of them into options. False, with a one-line message naming the
// option, for a value it refuses (a holiday file is only read by apply_calendar_options).
bool read_calendar_option(
	int code, const char* value, calendar_options* options, std::string* error);

// The usage's lines for them.
extern const char kCalendarOptionsUsage[];

// Prints every holiday set, its name and the years its rules cover, one a line; a rule file
// that cannot be read is named on errors. The exit status: 0, or 1 when a file failed.
int print_holiday_sets(std::FILE* out, std::FILE* errors, const std::string& program);

// Checks that every holiday set the options name (codes, not files) is known and its rule
// file sound. False, with one line naming the nearest known sets or the file's fault,
// otherwise: the programs refuse such a command line (exit status 2).
bool check_holiday_sets(const calendar_options& options, std::string* error);

// Sets the calendar's dates (dorva's cal, or a calendar_value's) from the options. A
// holiday source that cannot be read is left out and its message (naming the file, and the
// line where there is one) is added to errors; the result is then false.
bool apply_calendar_options(
	const calendar_options& options, calendar_settings* dates, std::vector<std::string>* errors);

// Puts the band where the options say. dorva's canvas gives atr its defaults when it is
// made, so for atr this comes after the canvas is made.
void apply_band_option(const calendar_options& options, calendar_attributes* attributes);
