#include "calendar_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "calendar_attributes.h"

const char kCalendarOptionsUsage[] =
	"  --year N              the calendar's year, 1900 to 2099 (default 2007)\n"
	"  --holidays SET|FILE   the holidays marked: jp, the national holidays of Japan\n"
	"                        (the default); none; or an iCalendar file (.ics) whose\n"
	"                        events are holidays. Given again, the sets are combined\n"
	"  --week-start DAY      the first of the seven weekday columns: sunday (the\n"
	"                        default) or monday, with Sunday the last column\n"
	"  --band EDGE           where the calendar band lies: bottom (the default), top,\n"
	"                        or auto, the calmer edge of each picture\n"
	"  --style STYLE         plain (the default), or readable: every date in an outline\n"
	"                        of the opposite brightness, clear of its neighbours\n";

std::vector<option> calendar_option_table()
{
	return {
		{"year", required_argument, nullptr, OPTION_YEAR},
		{"holidays", required_argument, nullptr, OPTION_HOLIDAYS},
		{"week-start", required_argument, nullptr, OPTION_WEEK_START},
		{"band", required_argument, nullptr, OPTION_BAND},
		{"style", required_argument, nullptr, OPTION_STYLE},
	};
}

// A year is written in decimal digits alone.
static bool read_year(const char* value, int* year)
{
	if (value == nullptr || *value < '0' || *value > '9')
		return false;
	char* end = nullptr;
	errno = 0;
	long number = std::strtol(value, &end, 10);
	if (errno != 0 || *end != '\0' || number < date_table::kFirstYear
		|| number > date_table::kLastYear)
		return false;
	*year = int(number);
	return true;
}

bool read_calendar_option(
	int code, const char* value, calendar_options* options, std::string* error)
{
	const std::string given = value != nullptr ? value : "";
	switch (code) {
		case OPTION_YEAR:
			if (read_year(value, &options->year))
				return true;
			*error = "--year: '" + given + "' is not a year from "
				+ std::to_string(date_table::kFirstYear) + " to "
				+ std::to_string(date_table::kLastYear);
			return false;
		case OPTION_HOLIDAYS:
			if (!given.empty()) {
				options->holidays.push_back(given);
				return true;
			}
			*error = "--holidays: the value is empty (jp, none or an .ics file)";
			return false;
		case OPTION_WEEK_START:
			if (given == "sunday" || given == "monday") {
				options->start = given == "sunday" ? SUNDAY_FIRST : MONDAY_FIRST;
				return true;
			}
			*error = "--week-start: '" + given + "' is neither sunday nor monday";
			return false;
		case OPTION_BAND:
			if (given == "top" || given == "bottom" || given == "auto") {
				options->band_follows_picture = given == "auto";
				options->band_pos = given == "top" ? BAND_AT_TOP
					: given == "bottom"            ? BAND_AT_BOTTOM
												   : 0;
				return true;
			}
			*error = "--band: '" + given + "' is not top, bottom or auto";
			return false;
		case OPTION_STYLE:
			if (given == "plain" || given == "readable") {
				options->style = given == "plain" ? STYLE_PLAIN : STYLE_READABLE;
				return true;
			}
			*error = "--style: '" + given + "' is neither plain nor readable";
			return false;
		default:
			*error = "not a calendar option";
			return false;
	}
}

bool apply_calendar_options(const calendar_options& options, std::vector<std::string>* errors)
{
	std::vector<std::string> holidays = options.holidays;
	if (holidays.empty())
		holidays.push_back(kDefaultHolidays);
	cal.set_style(options.style);
	cal.set_band_follows_picture(options.band_follows_picture);
	return cal.set(options.year, holidays, options.start, errors);
}

void apply_band_option(const calendar_options& options)
{
	if (options.band_pos != 0)
		atr.band_pos = options.band_pos;
}
