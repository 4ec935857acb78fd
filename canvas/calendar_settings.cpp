#include "calendar_settings.h"

#include "dorvaview.h"

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
	holiday_set set(year);
	bool allRead = true;
	bool builtInOnly = true;
	bool builtInNamed = false;
	for (const std::string& source : holidays) {
		std::string error;
		if (!set.add(source, &error)) {
			errors->push_back(error);
			allRead = false;
			continue;
		}
		if (source == kDefaultHolidays)
			builtInNamed = true;
		else if (source != "none")
			builtInOnly = false;
	}

	fYear = year;
	fStart = start;
	if (year == kCalendarYear && start == SUNDAY_FIRST && builtInNamed && builtInOnly)
		fTable.reset();
	else
		fTable.emplace(set, start);
	return allRead;
}
