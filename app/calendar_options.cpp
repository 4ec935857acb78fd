#include "calendar_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <filesystem>

#include "calendar_attributes.h"
#include "holiday_catalogue.h"
#include "ics_holidays.h"

const char kCalendarOptionsUsage[] =
	"  --year N              the calendar's year, 1900 to 2099 (default 2007)\n"
	"  --holidays SET|FILE   the holidays marked: the public holidays of a country by\n"
	"                        its ISO code (jp, Japan's, the default; de, us, ...) or of\n"
	"                        one of its regions (de-by, us-ca, ...), in any case; none;\n"
	"                        or an iCalendar file (.ics) whose events are holidays.\n"
	"                        Given again, the sets are combined. --holidays list\n"
	"                        lists every set with the years it covers, and ends\n"
	"  --week-start DAY      the first of the seven weekday columns: sunday (the\n"
	"                        default), monday or saturday\n"
	"  --band EDGE           where the calendar band lies: bottom (the default), top,\n"
	"                        or auto, the calmer edge of each picture\n"
	"  --style STYLE         plain (the default), or readable: every date in an outline\n"
	"                        of the opposite brightness, clear of its neighbours\n";

std::vector<option_spec> calendar_option_table()
{
	return {
		{"year", true, OPTION_YEAR},
		{"holidays", true, OPTION_HOLIDAYS},
		{"week-start", true, OPTION_WEEK_START},
		{"band", true, OPTION_BAND},
		{"style", true, OPTION_STYLE},
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
			if (given == "list") {
				options->list_holidays = true;
				return true;
			}
			if (!given.empty()) {
				options->holidays.push_back(given);
				return true;
			}
			*error =
				"--holidays: the value is empty (a set such as jp or de-by, none, list or "
				"an .ics file)";
			return false;
		case OPTION_WEEK_START:
			if (given == "sunday" || given == "monday" || given == "saturday") {
				options->start = given == "sunday" ? SUNDAY_FIRST
					: given == "monday"            ? MONDAY_FIRST
												   : SATURDAY_FIRST;
				options->start_given = true;
				return true;
			}
			*error = "--week-start: '" + given + "' is not sunday, monday or saturday";
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

int print_holiday_sets(std::FILE* out, std::FILE* errors, const std::string& program)
{
	std::vector<std::string> faults;
	for (const holiday_set_info& set : list_holiday_sets(&faults)) {
		std::fprintf(out, "%-8s %s, %d-%d\n", set.name.c_str(), set.title.c_str(), set.first_year,
			set.last_year);
	}
	for (const std::string& fault : faults)
		std::fprintf(errors, "%s: %s\n", program.c_str(), printable_text(fault).c_str());
	return faults.empty() ? 0 : 1;
}

bool check_holiday_sets(const calendar_options& options, std::string* error)
{
	for (const std::string& source : options.holidays) {
		std::error_code ignored;
		if (source == "none" || source.find_first_of("./") != std::string::npos
			|| std::filesystem::exists(source, ignored))
			continue;
		holiday_rules rules;
		std::string region;
		if (!load_holiday_set(source, &rules, &region, error)) {
			*error = "--holidays: " + printable_text(*error);
			return false;
		}
	}
	return true;
}

bool apply_calendar_options(
	const calendar_options& options, calendar_settings* dates, std::vector<std::string>* errors)
{
	std::vector<std::string> holidays = options.holidays;
	if (holidays.empty())
		holidays.push_back(kDefaultHolidays);
	dates->set_style(options.style);
	dates->set_band_follows_picture(options.band_follows_picture);
	return dates->set(options.year, holidays, options.start, errors);
}

void apply_band_option(const calendar_options& options, calendar_attributes* attributes)
{
	if (options.band_pos != 0)
		attributes->band_pos = options.band_pos;
}
