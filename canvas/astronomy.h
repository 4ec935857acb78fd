// The moments of the Sun's and the Moon's phases that calendars are built on, after the
// methods of Jean Meeus, "Astronomical Algorithms" (2nd ed., 1998), chapters 25, 27 and 49.
// Moments are Julian Days in Universal Time; they hold to well under a minute from 1900
// to 2100 (the difference between Terrestrial and Universal Time is estimated outside the
// years it was measured).
#pragma once

enum solar_event { MARCH_EQUINOX, JUNE_SOLSTICE, SEPTEMBER_EQUINOX, DECEMBER_SOLSTICE };

// The moment of the equinox or solstice in the Gregorian year.
double solar_event_moment(int year, solar_event event);

// The moment nearest to near (within about half a year) at which the Sun's apparent
// longitude is the given number of degrees (0 at the March equinox).
double solar_longitude_moment(double near, double degrees);

// The moment of the new moon numbered k: 0 for the new moon of 6 January 2000, counting
// lunations forward and back from it.
double new_moon_moment(long k);

// The number of the last new moon at or before the moment.
long new_moon_before(double moment);

// The day (counted from 1970-01-01) on which the moment falls, at the offset from UTC.
long day_at_offset(double moment, int offsetSeconds);

// Seconds since 1970-01-01 00:00 UTC of the moment.
long long unix_seconds(double moment);
