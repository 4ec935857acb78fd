#include "calendar_settings.h"

#include "what_day_2007.h"

calendar_settings::calendar_settings()
	: fYear(kCalendarYear), fStart(SUNDAY_FIRST), fStyle(STYLE_PLAIN), fBandFollowsPicture(false)
{
}

void calendar_settings::reset()
{
	fYear = kCalendarYear;
	fStart = SUNDAY_FIRST;
	fTable.reset();
	fStyle = STYLE_PLAIN;
	fBandFollowsPicture = false;
}

bool calendar_settings::set(int year, const std::vector<std::string>& holidays, week_start start,
	std::vector<std::string>* errors)
{
	if (!date_table::is_supported_year(year)) {
		errors->push_back("the year " + std::to_string(year) + " is outside "
			+ std::to_string(date_table::kFirstYear) + " to "
			+ std::to_string(date_table::kLastYear));
		return false;
	}
	// The default set is read last, and only when the defaults do not hold: while they do,
	// the band is drawn through what_day, which knows Japan's holidays of 2007 itself.
	holiday_set set(year);
	bool allRead = true;
	bool builtInOnly = true;
	bool builtInNamed = false;
	for (const std::string& source : holidays) {
		std::string error;
		if (source == kDefaultHolidays) {
			builtInNamed = true;
			continue;
		}
		if (!set.add(source, &error)) {
			errors->push_back(error);
			allRead = false;
			continue;
		}
		if (source != "none")
			builtInOnly = false;
	}
	errors->insert(errors->end(), set.notes().begin(), set.notes().end());

	fYear = year;
	fStart = start;
	if (year == kCalendarYear && start == SUNDAY_FIRST && builtInNamed && builtInOnly) {
		fTable.reset();
		return allRead;
	}
	std::string error;
	if (builtInNamed && !set.add(kDefaultHolidays, &error)) {
		errors->push_back(error);
		allRead = false;
	}
	fTable.emplace(set, start);
	return allRead;
}
