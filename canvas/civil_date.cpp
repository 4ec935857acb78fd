#include "civil_date.h"

static const int kMonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool is_leap_year(int year)
{
	return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month)
{
	if (month < 1 || month > 12)
		return 0;
	if (month == 2 && is_leap_year(year))
		return 29;
	return kMonthLength[month - 1];
}

bool is_valid_date(int year, int month, int day)
{
	return day >= 1 && day <= days_in_month(year, month);
}

int day_of_year(int year, int month, int day)
{
	int days = day;
	for (int m = 1; m < month; m++)
		days += days_in_month(year, m);
	return days;
}

long day_number(int year, int month, int day)
{
	// Counts days from 1 March of year 0 in the proleptic calendar, with the year taken to
	// begin in March so that the leap day falls at its end, in eras of 400 years.
	if (month <= 2)
		year--;
	const int era = (year >= 0 ? year : year - 399) / 400;
	const int yearOfEra = year - era * 400;
	const int shiftedMonth = month > 2 ? month - 3 : month + 9;
	const int dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
	const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
	// 719468 days lie between 1 March of year 0 and 1 January 1970.
	return long(era) * 146097 + dayOfEra - 719468;
}

int weekday_of(int year, int month, int day)
{
	// 1 January 1970 was a Thursday.
	return int(((day_number(year, month, day) + 4) % 7 + 7) % 7);
}

int nth_weekday(int year, int month, int weekday, int n)
{
	const int first = weekday_of(year, month, 1);
	return 1 + (weekday - first + 7) % 7 + 7 * (n - 1);
}

void date_of_day_number(long number, int* year, int* month, int* day)
{
	// The inverse of day_number's count in eras of 400 years beginning on 1 March.
	const long shifted = number + 719468;
	const long era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
	const long dayOfEra = shifted - era * 146097;
	const long yearOfEra =
		(dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
	const long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
	const long shiftedMonth = (5 * dayOfYear + 2) / 153;
	*day = int(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
	*month = int(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
	*year = int(yearOfEra + era * 400 + (*month <= 2 ? 1 : 0));
}

int iso_week(int year, int month, int day, int* weekYear)
{
	// A week belongs to the year that holds its Thursday, and is counted by that day.
	const long number = day_number(year, month, day);
	const int weekday = weekday_of(year, month, day);
	const int daysFromMonday = (weekday + 6) % 7;
	const long thursday = number - daysFromMonday + 3;
	int thursdayYear, thursdayMonth, thursdayDay;
	date_of_day_number(thursday, &thursdayYear, &thursdayMonth, &thursdayDay);
	if (weekYear != nullptr)
		*weekYear = thursdayYear;
	return (day_of_year(thursdayYear, thursdayMonth, thursdayDay) - 1) / 7 + 1;
}
