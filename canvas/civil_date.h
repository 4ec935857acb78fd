// Arithmetic on dates of the Gregorian calendar, for the date table and the holiday sets.
// Months run from 1 to 12, days from 1; weekdays are numbered 0 = Sunday to 6 = Saturday.
#pragma once

// Whether the year has a 29 February.
bool is_leap_year(int year);

// The number of days in the month (28 to 31); 0 for a month outside 1 to 12.
int days_in_month(int year, int month);

// Whether the date exists: month 1 to 12 and day 1 to the month's length.
bool is_valid_date(int year, int month, int day);

// The day's number within its year, 1 for 1 January; the date must be valid.
int day_of_year(int year, int month, int day);

// The number of days from 1 January 1970 to the date (negative before it).
long day_number(int year, int month, int day);

// The weekday of a valid date, 0 = Sunday to 6 = Saturday.
int weekday_of(int year, int month, int day);

// The day of the month of the nth (1 for the first) given weekday of the month.
int nth_weekday(int year, int month, int weekday, int n);

// The date of a day counted from 1 January 1970, the inverse of day_number.
void date_of_day_number(long number, int* year, int* month, int* day);

// The ISO 8601 week of a valid date, 1 to 53: weeks begin on Monday, and week 1 is the one
// that holds the year's first Thursday. The first days of January may thus lie in the last
// week of the year before, and the last days of December in week 1 of the next; weekYear,
// when given, receives the year the week belongs to.
int iso_week(int year, int month, int day, int* weekYear = nullptr);
