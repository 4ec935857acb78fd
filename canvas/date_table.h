// The dates of one year laid out as the calendar band shows them: each month a grid of
// seven weekday columns and up to six week rows. It answers for any year from 1900 to
// 2099, with the week starting on Sunday, Monday or Saturday, and carries the holidays of a
// holiday set. The year 2007 as first drawn is also answered by dorvaview::what_day, which
// stays as it is.
#pragma once

#include "SupportDefs.h"
#include "holiday_set.h"

// The weekday in the first of the seven columns, by its number (0 = Sunday). With
// MONDAY_FIRST, Sunday is the last column; with SATURDAY_FIRST, Friday is.
enum week_start : uint8 {
	SUNDAY_FIRST = 0,
	MONDAY_FIRST = 1,
	SATURDAY_FIRST = 6,
};

// Where one date stands in its month's grid.
struct date_place {
	int row;      // week row within the month: 0 for the row that holds the 1st, up to 5
	int column;   // 0 to 6, in display order for the table's week start
	int weekday;  // 0 = Sunday ... 6 = Saturday, whatever the week start
	bool holiday; // whether the holiday set marks the date
};

class date_table {
public:
	static const int kFirstYear = 1900;
	static const int kLastYear = 2099;

	// Whether a table can be made for the year.
	static bool is_supported_year(int year);

	// Lays out the year of the holiday set, with the holidays the set holds now (sources
	// added to it later do not reach the table). For a year outside kFirstYear to kLastYear
	// the table holds no dates: is_valid() is false and find() refuses every date.
	date_table(const holiday_set& holidays, week_start start);

	int year() const { return fYear; }
	week_start start() const { return fStart; }
	bool is_valid() const { return fValid; }

	// The number of days in the month (29 in February of a leap year); 0 for a month
	// outside 1 to 12 or when the table is not valid.
	int month_length(int month) const;

	// The number of week rows the month takes (4 to 6); 0 where month_length is 0.
	int week_rows(int month) const;

	// For a date of the table's year, fills place and returns true; returns false and leaves
	// place alone for a month outside 1 to 12, a day outside its month, or an invalid table.
	bool find(int month, int day, date_place* place) const;

	// The column (0 to 6) in which a weekday (0 = Sunday) stands, and the weekday that
	// stands in a column.
	int column_of(int weekday) const;
	int weekday_in(int column) const;

private:
	int fYear;
	week_start fStart;
	bool fValid;
	int fFirstWeekday[12]; // weekday of the 1st of each month
	int fDaysBefore[12];   // days of the year before the 1st of each month
	int fLength[12];
	year_days fHolidays;
};
