#include "ics_zones.h"

#include <algorithm>

#include "civil_date.h"
#include "ics_rules.h"

ics_seconds seconds_of(const icaltimetype& time)
{
	ics_seconds seconds = ics_seconds(day_number(time.year, time.month, time.day)) * 86400;
	if (!time.is_date)
		seconds += time.hour * 3600 + time.minute * 60 + time.second;
	return seconds;
}

ics_zones::ics_zones(int first_year, int last_year) : fFirstYear(first_year), fLastYear(last_year)
{
}

bool ics_zones::add(
	const std::string& tzid, const std::vector<observance>& observances, ics_budget* budget)
{
	// The changes of the years asked for, and those of a year or two before them, which
	// give the offset in force when they begin.
	zone made;
	for (const observance& part : observances) {
		auto add_change = [&](const icaltimetype& wall) {
			made.changes.push_back({seconds_of(wall) - part.from, part.from, part.to});
		};
		add_change(part.start);
		for (const icaltimetype& date : part.dates)
			add_change(date);
		for (const icalrecurrencetype& rule : part.rules) {
			icaltimetype first = part.start;
			first.year = fFirstYear - 2;
			first.month = first.day = 1;
			if (!icaltime_is_null_time(rule.until) && rule.until.year < first.year)
				first.year = rule.until.year - 1;
			icaltimetype last = first;
			last.year = fLastYear + 1;
			last.month = 12;
			last.day = 31;
			if (!follow_rule(rule, part.start, first, last, budget, add_change))
				return false;
		}
	}
	std::sort(made.changes.begin(), made.changes.end(),
		[](const change& a, const change& b) { return a.utc < b.utc; });
	fZones[tzid] = std::move(made);
	return true;
}

const ics_zones::zone* ics_zones::find(const std::string& tzid, ics_budget* budget)
{
	auto found = fZones.find(tzid);
	if (found != fZones.end())
		return found->second.system != nullptr || !found->second.changes.empty() ? &found->second
																				 : nullptr;
	// The system's zones, by their names in the zone database, with or without libical's
	// prefix. The library keeps them until the program ends.
	zone system;
	system.system = icaltimezone_get_builtin_timezone_from_tzid(tzid.c_str());
	if (system.system == nullptr)
		system.system = icaltimezone_get_builtin_timezone(tzid.c_str());
	budget->work -=
		system.system != nullptr ? ics_budget::kSystemZoneWork : ics_budget::kZoneLookupWork;
	const zone& kept = fZones[tzid] = system;
	return kept.system != nullptr ? &kept : nullptr;
}

int ics_zones::offset_at(const zone& zone, ics_seconds utc)
{
	if (zone.system != nullptr) {
		icaltimetype time =
			icaltime_from_timet_with_zone(time_t(utc), 0, icaltimezone_get_utc_timezone());
		return icaltimezone_get_utc_offset_of_utc_time(zone.system, &time, nullptr);
	}
	// Before the first change the offset is the one it changes from.
	auto after = std::upper_bound(zone.changes.begin(), zone.changes.end(), utc,
		[](ics_seconds time, const change& c) { return time < c.utc; });
	return after == zone.changes.begin() ? after->from : (after - 1)->to;
}

bool ics_zones::to_utc(
	const std::string& tzid, ics_seconds wall, ics_budget* budget, ics_seconds* utc)
{
	const zone* found = find(tzid, budget);
	if (found == nullptr)
		return false;
	// The offset at a first guess of the instant, then at the instant that it gives.
	*utc = wall - offset_at(*found, wall - offset_at(*found, wall));
	return true;
}

bool ics_zones::to_wall(
	const std::string& tzid, ics_seconds utc, ics_budget* budget, ics_seconds* wall)
{
	const zone* found = find(tzid, budget);
	if (found == nullptr)
		return false;
	*wall = utc + offset_at(*found, utc);
	return true;
}
