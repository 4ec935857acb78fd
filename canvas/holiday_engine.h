// The public holidays of one year, computed from a country's rules.
#pragma once

#include <string>
#include <vector>

#include "holiday_rules.h"

struct holiday_day {
	long day;                 // counted from 1970-01-01
	const holiday_rule* rule; // the holiday; for a bridge day, null
	bool substitute = false;  // a day off in place of the rule's holiday
};

// The holidays of the set in the year, in date order: the country's (region empty) or a
// declared region's, substitute and bridge days included. Two holidays on one day are two
// entries. None for a year outside the rules' years. The result points into rules.
std::vector<holiday_day> holidays_of_year(
	const holiday_rules& rules, const std::string& region, int year);
