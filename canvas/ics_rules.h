// Recurrence rules (RRULE values) of an iCalendar file, read and followed with libical within
// a budget.
#pragma once

#include <functional>
#include <string>

#include <libical/ical.h>

#include "ics_budget.h"

// Reads a rule that the library follows faithfully and in bounded time, or that repeats
// more often than daily as sub_daily_step says. False, with a reason, for one it would read
// wrongly (a COUNT or INTERVAL beyond what it holds, which it would wrap), one that repeats
// more often than daily otherwise, and one that may never occur, which the library would
// search for until the year 2582.
bool read_rule(const std::string& value, icalrecurrencetype* rule, std::string* reason);

// The seconds between the occurrences of a rule that repeats more often than daily with no
// other part than COUNT, UNTIL and INTERVAL (every quarter of an hour, hourly): the time
// it covers, from its start to its last occurrence, has an occurrence every day when that
// is at most a day. 0 for any other rule.
long sub_daily_step(const icalrecurrencetype& rule);

// Calls take with each occurrence of the rule from start that lies from first to last
// (times of the same kind as start: dates or wall-clock times). Occurrences before first
// are skipped without being found where the rule allows (it has no COUNT). Charges the
// rule and every occurrence found to the budget; false when the budget ran out.
bool follow_rule(const icalrecurrencetype& rule, const icaltimetype& start,
	const icaltimetype& first, const icaltimetype& last, ics_budget* budget,
	const std::function<void(const icaltimetype&)>& take);
