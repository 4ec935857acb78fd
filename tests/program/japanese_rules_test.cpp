#include <gtest/gtest.h>

#include "civil_date.h"
#include "holiday_set.h"
#include "japanese_holidays_reference.h"

// jp.rules gives every year the days the program's own C++ rules gave, which agree with the
// Cabinet Office's lists.
TEST(JapaneseRules, AgreeWithTheFormerRulesEveryYear)
{
	for (int year = 1949; year <= 2099; year++) {
		holiday_set set(year);
		std::string error;
		ASSERT_TRUE(set.add("JP", &error)) << error;
		const year_days expected = japanese_holidays(year);
		for (int i = 0; i < 366; i++) {
			int y, m, d;
			date_of_day_number(day_number(year, 1, 1) + i, &y, &m, &d);
			EXPECT_EQ(set.days()[i], expected[i]) << year << "-" << m << "-" << d;
		}
	}
}

// The rules cover 1948 to 2099; outside them the set is empty.
TEST(JapaneseRules, NoneOutsideTheYearsCovered)
{
	for (int year : {1947, 2100}) {
		holiday_set set(year);
		std::string error;
		ASSERT_TRUE(set.add("jp", &error)) << error;
		EXPECT_EQ(set.count(), 0) << year;
	}
}
