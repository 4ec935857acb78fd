#include <gtest/gtest.h>

#include <chrono>

#include "ProgramHarness.h"

namespace {

using namespace std::chrono;

// The holidays of 2007 as the calendar numbers them.
const int kHolidays[15][2] = {
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

int expected_holiday(int month, int day)
{
	for (int i = 0; i < 15; i++) {
		if (kHolidays[i][0] == month && kHolidays[i][1] == day)
			return i + 1;
	}
	return 0;
}

class WhatDay : public ::testing::Test {
protected:
	int Ask(int y, int m, int d) { return fCanvas.what_day(y, m, d, &row, &weekday, &holiday); }

	dorvaview fCanvas{BRect(0, 0, 10, 10)};
	int row = 0, weekday = 0, holiday = 0;
};

TEST_F(WhatDay, AgreesWithTheStandardCalendarOnEveryDateOf2007)
{
	int valid = 0;
	for (int m = 1; m <= 12; m++) {
		for (int d = 1; d <= 31; d++) {
			year_month_day date{year{2007}, month{unsigned(m)}, day{unsigned(d)}};
			int code = Ask(2007, m, d);
			if (!date.ok()) {
				EXPECT_EQ(code, 3) << m << "/" << d;
				EXPECT_EQ(row, -1);
				EXPECT_EQ(weekday, -1);
				EXPECT_EQ(holiday, -1);
				continue;
			}
			valid++;
			ASSERT_EQ(code, 0) << m << "/" << d;
			int expectedWeekday = int(year_month_weekday{sys_days{date}}.weekday().c_encoding());
			EXPECT_EQ(weekday, expectedWeekday) << m << "/" << d;
			// The row is the week (Sunday to Saturday) of the month, counted from the first.
			year_month_day first{year{2007}, month{unsigned(m)}, day{1}};
			int startOffset = int(year_month_weekday{sys_days{first}}.weekday().c_encoding());
			EXPECT_EQ(row, (d - 1 + startOffset) / 7) << m << "/" << d;
			EXPECT_EQ(holiday, expected_holiday(m, d)) << m << "/" << d;
		}
	}
	EXPECT_EQ(valid, 365);
}

TEST_F(WhatDay, RefusesOtherDatesWithTheWorstFault)
{
	EXPECT_EQ(Ask(2007, 2, 29), 3);
	for (int m : {4, 6, 9, 11})
		EXPECT_EQ(Ask(2007, m, 31), 3);
	for (int m : {1, 3, 5, 7, 8, 10, 12})
		EXPECT_EQ(Ask(2007, m, 31), 0);
	EXPECT_EQ(Ask(2007, 5, 0), 3);
	EXPECT_EQ(Ask(1999, 13, 32), 3);
	EXPECT_EQ(Ask(2007, 0, 15), 2);
	EXPECT_EQ(Ask(2007, 13, 15), 2);
	EXPECT_EQ(Ask(2008, 1, 1), 1);
	EXPECT_EQ(Ask(2008, 13, 40), 3);
	EXPECT_EQ(Ask(2008, 2, 29), 3);
	EXPECT_EQ(row, -1);
	EXPECT_EQ(weekday, -1);
	EXPECT_EQ(holiday, -1);
}

TEST_F(WhatDay, KnowsTheYearsCornersAndSubstituteHolidays)
{
	ASSERT_EQ(Ask(2007, 1, 1), 0);
	EXPECT_EQ(row, 0);
	EXPECT_EQ(weekday, 1);
	EXPECT_EQ(holiday, 1);
	ASSERT_EQ(Ask(2007, 12, 31), 0);
	EXPECT_EQ(row, 5);
	EXPECT_EQ(weekday, 1);
	EXPECT_EQ(holiday, 0);
	ASSERT_EQ(Ask(2007, 9, 30), 0);
	EXPECT_EQ(row, 5);
	EXPECT_EQ(weekday, 0);
	ASSERT_EQ(Ask(2007, 2, 11), 0);
	EXPECT_EQ(weekday, 0);
	EXPECT_EQ(holiday, 0);
	ASSERT_EQ(Ask(2007, 2, 12), 0);
	EXPECT_EQ(holiday, 3);
	ASSERT_EQ(Ask(2007, 5, 5), 0);
	EXPECT_EQ(weekday, 6);
	EXPECT_EQ(holiday, 8);
	ASSERT_EQ(Ask(2007, 11, 3), 0);
	EXPECT_EQ(weekday, 6);
	EXPECT_EQ(holiday, 13);
}

} // namespace
