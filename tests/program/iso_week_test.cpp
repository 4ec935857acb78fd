#include <gtest/gtest.h>

#include "civil_date.h"

namespace {

struct week_of {
	int year, month, day;
	int week, weekYear;
};

// The Monday that begins week 1 of the week year: the Monday on or before 4 January.
long first_monday(int weekYear)
{
	const long fourth = day_number(weekYear, 1, 4);
	return fourth - (weekday_of(weekYear, 1, 4) + 6) % 7;
}

} // namespace

TEST(IsoWeek, AtTheEdgesOfTheYears)
{
	const week_of kWeeks[] = {
		{2026, 1, 1, 1, 2026},    // a Thursday: week 1
		{2026, 12, 31, 53, 2026}, // 2026 has 53 weeks
		{2027, 1, 1, 53, 2026},   // and lends them its first three days
		{2027, 1, 3, 53, 2026},
		{2027, 1, 4, 1, 2027},
		{2000, 1, 2, 52, 1999}, // 1 January in week 52 of the year before
		{2024, 12, 29, 52, 2024},
		{2024, 12, 30, 1, 2025}, // 30 and 31 December in week 1 of the next year
		{2008, 12, 29, 1, 2009}, // 29 December too
		{2026, 6, 15, 25, 2026},
	};
	for (const week_of& w : kWeeks) {
		int weekYear = 0;
		EXPECT_EQ(iso_week(w.year, w.month, w.day, &weekYear), w.week)
			<< w.year << "-" << w.month << "-" << w.day;
		EXPECT_EQ(weekYear, w.weekYear) << w.year << "-" << w.month << "-" << w.day;
	}
	EXPECT_EQ(iso_week(2027, 1, 1), 53);
}

// Every day from 1900 to 2099 against the week counted from the Monday on or before
// 4 January, the other way the standard defines week 1.
TEST(IsoWeek, EveryDayOfTwoCenturies)
{
	for (long number = day_number(1900, 1, 1); number <= day_number(2099, 12, 31); number++) {
		int year, month, day;
		date_of_day_number(number, &year, &month, &day);
		int weekYear = year;
		if (number < first_monday(year))
			weekYear = year - 1;
		else if (number >= first_monday(year + 1))
			weekYear = year + 1;
		const int expected = int((number - first_monday(weekYear)) / 7) + 1;
		int gotYear = 0;
		ASSERT_EQ(iso_week(year, month, day, &gotYear), expected)
			<< year << "-" << month << "-" << day;
		ASSERT_EQ(gotYear, weekYear) << year << "-" << month << "-" << day;
	}
}
