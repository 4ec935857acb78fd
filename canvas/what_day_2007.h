// The calendar's own year, 2007, with the national holidays of Japan in it, as the band has
// always been drawn: the table behind dorvaview::what_day, which the band's drawing asks while
// the calendar's defaults hold.
#pragma once

// The one year the calendar shows by default.
const int kCalendarYear = 2007;
// Weekdays are numbered from Sunday (0) to Saturday (6).
const int kSunday = 0;
const int kSaturday = 6;

// What what_day answers: a valid date, or the worst fault of one that is not.
enum : int {
	DATE_VALID = 0,
	DATE_OTHER_YEAR = 1,
	DATE_BAD_MONTH = 2,
	DATE_BAD_DAY = 3,
};

// Returns DATE_VALID (0) for a valid date of 2007 and fills its week row in the month (0 for
// the row of the first), its weekday (0 = Sunday) and its holiday number (1 to 15, 0 for
// none). Otherwise all three are -1 and the result tells the worst fault: DATE_BAD_DAY (3),
// DATE_BAD_MONTH (2) or DATE_OTHER_YEAR (1).
int what_day_2007(int year, int month, int day, int* row, int* weekday, int* holiday);
