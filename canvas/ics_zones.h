// The time zones that the times of an iCalendar file name by TZID: the file's own
// VTIMEZONE components, else the system's zone database (through libical).
#pragma once

#include <map>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "ics_budget.h"

// Seconds from 1970 of a wall-clock time taken as if it were UTC, or of a UTC instant.
typedef long long ics_seconds;
ics_seconds seconds_of(const icaltimetype& time);

class ics_zones {
public:
	// One STANDARD or DAYLIGHT part of a VTIMEZONE: from its start, and the dates and yearly
	// rules that repeat it, the offset from UTC changes from `from` to `to` (seconds east).
	struct observance {
		icaltimetype start = icaltime_null_time();
		int from = 0;
		int to = 0;
		std::vector<icaltimetype> dates;
		std::vector<icalrecurrencetype> rules;
	};

	// The zones are worked out for the times of the years first_year to last_year.
	ics_zones(int first_year, int last_year);

	// Adds a VTIMEZONE's zone. False when the budget ran out.
	bool add(
		const std::string& tzid, const std::vector<observance>& observances, ics_budget* budget);

	// The UTC instant of a wall-clock time in the zone; false when no zone has that name.
	bool to_utc(const std::string& tzid, ics_seconds wall, ics_budget* budget, ics_seconds* utc);
	// The wall-clock time in the zone of a UTC instant; false when no zone has that name.
	bool to_wall(const std::string& tzid, ics_seconds utc, ics_budget* budget, ics_seconds* wall);

private:
	struct change {
		ics_seconds utc;
		int from;
		int to;
	};
	struct zone {
		std::vector<change> changes; // by time
		icaltimezone* system = nullptr;
	};

	const zone* find(const std::string& tzid, ics_budget* budget);
	static int offset_at(const zone& zone, ics_seconds utc);

	int fFirstYear;
	int fLastYear;
	std::map<std::string, zone> fZones;
};
