#include "what_day_2007.h"

// The calendar's one year (kCalendarYear, 2007) begins on a Monday.

// Days of the year before the first of each month.
static const int month_offset[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
static const int month_length[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct holiday_date {
	int month;
	int day;
};

// The national holidays of Japan in 2007, numbered from 1 in this order. Holidays that fell
// on a Sunday are replaced by the Monday after them.
static const holiday_date holidays[] = {
	{1, 1},
	{1, 8},
	{2, 12},
	{3, 21},
	{4, 30},
	{5, 3},
	{5, 4},
	{5, 5},
	{7, 16},
	{9, 17},
	{9, 24},
	{10, 8},
	{11, 3},
	{11, 23},
	{12, 24},
};

int what_day_2007(int year, int month, int day, int* row, int* weekday, int* holiday)
{
	int code = DATE_VALID;
	if (year != kCalendarYear)
		code = DATE_OTHER_YEAR;
	if (month < 1 || month > 12)
		code = DATE_BAD_MONTH;
	if (day < 1 || day > 31)
		code = DATE_BAD_DAY;
	if (code != DATE_BAD_MONTH && month >= 1 && month <= 12 && day > month_length[month - 1])
		code = DATE_BAD_DAY;

	if (code != DATE_VALID) {
		*row = *weekday = *holiday = -1;
		return code;
	}

	int offset = month_offset[month - 1];
	// Day n of the year falls on weekday n mod 7, since day 1 is a Monday.
	*weekday = (day + offset) % 7;
	int first = (offset + 1) % 7;
	*row = (day - 1 + first) / 7;
	*holiday = 0;
	for (int i = 0; i < int(sizeof(holidays) / sizeof(holidays[0])); i++) {
		if (holidays[i].month == month && holidays[i].day == day) {
			*holiday = i + 1;
			break;
		}
	}
	return DATE_VALID;
}
