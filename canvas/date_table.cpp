#include "date_table.h"

#include "civil_date.h"

bool date_table::is_supported_year(int year)
{
	return year >= kFirstYear && year <= kLastYear;
}

date_table::date_table(const holiday_set& holidays, week_start start)
	: fYear(holidays.year()), fStart(start), fValid(is_supported_year(fYear)), fFirstWeekday(),
	  fDaysBefore(), fLength(), fHolidays(holidays.days())
{
	if (!fValid)
		return;
	int daysBefore = 0;
	for (int month = 1; month <= 12; month++) {
		fFirstWeekday[month - 1] = weekday_of(fYear, month, 1);
		fDaysBefore[month - 1] = daysBefore;
		fLength[month - 1] = days_in_month(fYear, month);
		daysBefore += fLength[month - 1];
	}
}

int date_table::month_length(int month) const
{
	if (!fValid || month < 1 || month > 12)
		return 0;
	return fLength[month - 1];
}

int date_table::week_rows(int month) const
{
	const int length = month_length(month);
	if (length == 0)
		return 0;
	return (column_of(fFirstWeekday[month - 1]) + length - 1) / 7 + 1;
}

bool date_table::find(int month, int day, date_place* place) const
{
	if (day < 1 || day > month_length(month))
		return false;
	const int first = fFirstWeekday[month - 1];
	place->weekday = (first + day - 1) % 7;
	place->column = column_of(place->weekday);
	place->row = (column_of(first) + day - 1) / 7;
	place->holiday = fHolidays[fDaysBefore[month - 1] + day - 1];
	return true;
}

int date_table::column_of(int weekday) const
{
	return (weekday - fStart + 7) % 7;
}

int date_table::weekday_in(int column) const
{
	return (column + fStart) % 7;
}
