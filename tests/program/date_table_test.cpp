#include <gtest/gtest.h>

#include <chrono>

#include "ProgramHarness.h"
#include "date_table.h"

namespace {

using namespace std::chrono;

int chrono_weekday(int y, int m, int d)
{
	return int(weekday{sys_days{year{y} / month{unsigned(m)} / day{unsigned(d)}}}.c_encoding());
}

TEST(DateTable, PlacesEveryDateFrom1900To2099AsTheStandardCalendarDoes)
{
	for (int y = date_table::kFirstYear; y <= date_table::kLastYear; y++) {
		for (week_start start : {SUNDAY_FIRST, MONDAY_FIRST, SATURDAY_FIRST}) {
			date_table table(holiday_set(y), start);
			ASSERT_TRUE(table.is_valid()) << y;
			int days = 0;
			for (int m = 1; m <= 12; m++) {
				const int length = int(unsigned((year{y} / month{unsigned(m)} / last).day()));
				ASSERT_EQ(table.month_length(m), length) << y << "-" << m;
				// Columns count from the week's first day: Sunday, Monday or Saturday.
				const int firstColumn = (chrono_weekday(y, m, 1) + 7 - start) % 7;
				int lastRow = 0;
				for (int d = 1; d <= length; d++, days++) {
					date_place place;
					ASSERT_TRUE(table.find(m, d, &place)) << y << "-" << m << "-" << d;
					const int expectedWeekday = chrono_weekday(y, m, d);
					EXPECT_EQ(place.weekday, expectedWeekday) << y << "-" << m << "-" << d;
					EXPECT_EQ(place.column, (expectedWeekday + 7 - start) % 7)
						<< y << "-" << m << "-" << d << " start " << int(start);
					EXPECT_EQ(place.row, (firstColumn + d - 1) / 7) << y << "-" << m << "-" << d;
					EXPECT_FALSE(place.holiday);
					EXPECT_EQ(table.weekday_in(place.column), place.weekday);
					lastRow = place.row;
				}
				EXPECT_EQ(table.week_rows(m), lastRow + 1) << y << "-" << m;
				date_place place;
				EXPECT_FALSE(table.find(m, length + 1, &place)) << y << "-" << m;
				EXPECT_FALSE(table.find(m, 0, &place)) << y << "-" << m;
			}
			EXPECT_EQ(days, year{y}.is_leap() ? 366 : 365) << y;
		}
	}

	// 1 January 2027 is a Friday: the fifth column when Monday comes first.
	date_table monday2027(holiday_set(2027), MONDAY_FIRST);
	date_place place;
	ASSERT_TRUE(monday2027.find(1, 1, &place));
	EXPECT_EQ(place.column, 4);
	EXPECT_EQ(place.weekday, 5);
	EXPECT_EQ(monday2027.column_of(0), 6);
	// And the last when Saturday comes first.
	date_table saturday2027(holiday_set(2027), SATURDAY_FIRST);
	ASSERT_TRUE(saturday2027.find(1, 1, &place));
	EXPECT_EQ(place.column, 6);
	EXPECT_EQ(place.row, 0);
	ASSERT_TRUE(saturday2027.find(1, 2, &place));
	EXPECT_EQ(place.column, 0);
	EXPECT_EQ(place.row, 1);

	date_place untouched{-7, -7, -7, true};
	for (int y : {1899, 2100}) {
		date_table outside(holiday_set(y), SUNDAY_FIRST);
		EXPECT_FALSE(outside.is_valid());
		EXPECT_FALSE(outside.find(1, 1, &untouched));
		EXPECT_EQ(outside.month_length(1), 0);
	}
	EXPECT_FALSE(monday2027.find(13, 1, &untouched));
	EXPECT_FALSE(monday2027.find(0, 1, &untouched));
	EXPECT_EQ(untouched.row, -7);
}

// The table of 2007 with the Japanese holidays, Sunday first, agrees with what_day on every
// date it accepts, and refuses those it refuses. The one difference is by design: what_day
// leaves out the four holidays that fell on a Sunday (their Mondays are holidays in both),
// while the table keeps them.
TEST(DateTable, The2007TableAgreesWithWhatDay)
{
	dorvaview canvas(BRect(0, 0, 10, 10));
	holiday_set holidays(2007);
	std::string error;
	ASSERT_TRUE(holidays.add("jp", &error)) << error;
	date_table table(holidays, SUNDAY_FIRST);

	int sundayHolidays = 0;
	for (int m = 0; m <= 13; m++) {
		for (int d = 0; d <= 32; d++) {
			int row, weekday, holiday;
			const int code = canvas.what_day(2007, m, d, &row, &weekday, &holiday);
			date_place place;
			const bool found = table.find(m, d, &place);
			ASSERT_EQ(found, code == 0) << m << "/" << d;
			if (!found)
				continue;
			EXPECT_EQ(place.row, row) << m << "/" << d;
			EXPECT_EQ(place.weekday, weekday) << m << "/" << d;
			EXPECT_EQ(place.column, weekday) << m << "/" << d;
			if (place.holiday && holiday == 0) {
				EXPECT_EQ(weekday, 0) << m << "/" << d;
				sundayHolidays++;
			} else {
				EXPECT_EQ(place.holiday, holiday != 0) << m << "/" << d;
			}
		}
	}
	EXPECT_EQ(sundayHolidays, 4);
	for (auto [m, d] : {std::pair{2, 11}, {4, 29}, {9, 23}, {12, 23}})
		EXPECT_TRUE(holidays.is_holiday(2007, m, d)) << m << "/" << d;
	EXPECT_EQ(holidays.count(), 19);
}

} // namespace
