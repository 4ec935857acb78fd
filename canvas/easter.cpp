#include "easter.h"

#include "civil_date.h"

long western_easter(int year)
{
	// The anonymous Gregorian algorithm (Meeus, Astronomical Algorithms, chapter 8).
	const int a = year % 19;
	const int b = year / 100;
	const int c = year % 100;
	const int d = b / 4;
	const int e = b % 4;
	const int f = (b + 8) / 25;
	const int g = (b - f + 1) / 3;
	const int h = (19 * a + b - d - g + 15) % 30;
	const int i = c / 4;
	const int k = c % 4;
	const int l = (32 + 2 * e + 2 * i - h - k) % 7;
	const int m = (a + 11 * h + 22 * l) / 451;
	const int month = (h + l - 7 * m + 114) / 31;
	const int day = (h + l - 7 * m + 114) % 31 + 1;
	return day_number(year, month, day);
}

long orthodox_easter(int year)
{
	// Meeus's Julian algorithm gives the date in the Julian calendar.
	const int a = year % 4;
	const int b = year % 7;
	const int c = year % 19;
	const int d = (19 * c + 15) % 30;
	const int e = (2 * a + 4 * b - d + 34) % 7;
	const int month = (d + e + 114) / 31;
	const int day = (d + e + 114) % 31 + 1;

	// The Julian date's Julian Day Number, less that of 1970-01-01.
	const int shift = (14 - month) / 12;
	const long y = year + 4800 - shift;
	const long m = month + 12 * shift - 3;
	const long julianDay = day + (153 * m + 2) / 5 + 365 * y + y / 4 - 32083;
	return julianDay - 2440588;
}
