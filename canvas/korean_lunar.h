// The Korean lunisolar calendar, computed from the Sun and the Moon as the Korea Astronomy
// and Space Science Institute computes it: a month begins on the day of a new moon; the
// month holding the December solstice is the 11th; a year of 13 months between two such
// months repeats, as a leap month, the first month that holds none of the Sun's twelve
// principal terms (the moments its longitude is a multiple of 30 degrees).
#pragma once

#include <functional>
#include <map>
#include <vector>

class korean_lunar_calendar {
public:
	// offset gives the offset from UTC, in seconds, at an instant (seconds since 1970 UTC):
	// the days are dated in that time.
	explicit korean_lunar_calendar(std::function<int(long long)> offset);

	// The Gregorian day (counted from 1970-01-01) of the day of a month that is no leap month
	// in the lunar year. False when the month has no such day (the 30th of a short month).
	bool day_of(int lunarYear, int month, int day, long* number);

private:
	struct month {
		long first; // the Gregorian day of its first day
		int number; // 1 to 12
		bool leap;
	};
	// The months from the 11th month of the year before to the 11th month of the year, whose
	// first day ends the list.
	const std::vector<month>& months_between_solstices(int year);
	long local_day(double moment) const;

	std::function<int(long long)> fOffset;
	std::map<int, std::vector<month>> fSpans;
};
