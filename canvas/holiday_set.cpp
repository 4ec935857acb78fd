#include "holiday_set.h"

#include <filesystem>

#include "civil_date.h"
#include "ics_holidays.h"
#include "japanese_holidays.h"

holiday_set::holiday_set(int year) : fYear(year)
{
}

bool holiday_set::add(const std::string& source, std::string* error)
{
	if (source == "jp") {
		fDays |= japanese_holidays(fYear);
		return true;
	}
	if (source == "none")
		return true;

	// A bare word that names no file is most likely a mistyped set's name.
	std::error_code ignored;
	if (source.find_first_of("./") == std::string::npos
		&& !std::filesystem::exists(source, ignored)) {
		*error =
			printable_text(source) + ": no such holiday set or file (the sets are jp and none)";
		return false;
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
