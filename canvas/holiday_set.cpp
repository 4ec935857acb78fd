#include "holiday_set.h"

#include <filesystem>

#include "civil_date.h"
#include "holiday_catalogue.h"
#include "holiday_engine.h"
#include "ics_holidays.h"

bool names_a_rule_set(const std::string& source)
{
	std::error_code ignored;
	return source.find_first_of("./") == std::string::npos
		&& !std::filesystem::exists(source, ignored);
}

holiday_set::holiday_set(int year) : fYear(year)
{
}

bool holiday_set::add(const std::string& source, std::string* error)
{
	if (source == "none")
		return true;

	// A bare word that names no file is a set's name, or a mistyped one.
	if (names_a_rule_set(source)) {
		holiday_rules rules;
		std::string region;
		if (!load_holiday_set(source, &rules, &region, error)) {
			*error = printable_text(*error);
			return false;
		}
		for (const holiday_day& h : holidays_of_year(rules, region, fYear))
			fDays.set(size_t(h.day - day_number(fYear, 1, 1)));
		return true;
	}

	year_days read;
	if (!read_ics_holidays(source, fYear, &fBudget, &read, &fNotes, error))
		return false;
	fDays |= read;
	return true;
}

bool holiday_set::is_holiday(int year, int month, int day) const
{
	if (year != fYear || !is_valid_date(year, month, day))
		return false;
	return fDays[day_of_year(year, month, day) - 1];
}
