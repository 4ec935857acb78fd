#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astronomy.h"
#include "civil_date.h"
#include "easter.h"
#include "holiday_engine.h"
#include "holiday_rules.h"

namespace {

const char kHeader[] =
	"country XX \"Land\" \"Land\"\nsource \"test\"\nzone UTC\nyears 1900 2100\n"
	"region A \"A\" \"A\"\nregion B \"B\" \"B\"\n";

holiday_rules rules_of(const std::string& lines, const char* zone = "UTC")
{
	std::string text = kHeader;
	text.replace(text.find("UTC"), 3, zone);
	holiday_rules rules;
	std::string error;
	EXPECT_TRUE(parse_holiday_rules(text + lines, "xx.rules", &rules, &error)) << error;
	return rules;
}

// The year's days as "MM-DD MM-DD ...".
std::string days_of(const holiday_rules& rules, int year, const std::string& region = "")
{
	std::string text;
	for (const holiday_day& h : holidays_of_year(rules, region, year)) {
		int y, m, d;
		date_of_day_number(h.day, &y, &m, &d);
		char day[8];
		std::snprintf(day, sizeof day, "%02d-%02d", m, d);
		text += (text.empty() ? "" : " ") + std::string(day);
	}
	return text;
}

std::string date_text(long number)
{
	int y, m, d;
	date_of_day_number(number, &y, &m, &d);
	char text[12];
	std::snprintf(text, sizeof text, "%04d-%02d-%02d", y, m, d);
	return text;
}

double moment_of(int year, int month, int day, int hour, int minute)
{
	return 2440587.5 + day_number(year, month, day) + (hour * 60 + minute) / 1440.0;
}

} // namespace

TEST(HolidayEngine, DatesOfTheYear)
{
	// 2025: 1 January is a Wednesday.
	const holiday_rules rules = rules_of(
		"on 01-06 : \"a\" \"a\"\n"
		"on 3 mon 01 : \"b\" \"b\"\n"
		"on 5 fri 01 : \"c\" \"c\"\n"
		"on 5 fri 02 : \"no fifth Friday\" \"x\"\n"
		"on last mon 05 : \"d\" \"d\"\n"
		"on sat after 06-20 : \"e\" \"e\"\n"
		"on sat after 06-21 : \"f\" \"f\"\n" // on or after: the day itself
		"on mon before 05-24 : \"g\" \"g\"\n"
		"on 02-29 : \"leap\" \"leap\"\n"
		"on 12-31 +1 : \"h\" \"h\"\n"
		"on 2025-11-11 : \"once\" \"once\"\n");
	EXPECT_EQ(days_of(rules, 2025), "01-01 01-06 01-20 01-31 05-19 05-26 06-21 06-21 11-11");
	EXPECT_EQ(days_of(rules, 2024), "01-01 01-06 01-15 02-29 05-20 05-27 06-22 06-22");
}

TEST(HolidayEngine, EasterOfBothChurches)
{
	EXPECT_EQ(date_text(western_easter(2024)), "2024-03-31");
	EXPECT_EQ(date_text(orthodox_easter(2024)), "2024-05-05");
	EXPECT_EQ(date_text(western_easter(2025)), "2025-04-20");
	EXPECT_EQ(date_text(orthodox_easter(2025)), "2025-04-20");
	EXPECT_EQ(date_text(western_easter(2038)), "2038-04-25"); // the latest it can be
	EXPECT_EQ(date_text(western_easter(2023)), "2023-04-09");
	EXPECT_EQ(date_text(orthodox_easter(2023)), "2023-04-16");
	EXPECT_EQ(days_of(rules_of("on easter -2 : \"a\" \"a\"\non orthodox +1 : \"b\" \"b\"\n"), 2024),
		"03-29 05-06");
}

// The published moments (to the minute) of the equinoxes of 2024 and of a new moon.
TEST(HolidayEngine, EquinoxesAndNewMoonsAtThePublishedMoments)
{
	EXPECT_NEAR(solar_event_moment(2024, MARCH_EQUINOX), moment_of(2024, 3, 20, 3, 6), 1 / 1440.0);
	EXPECT_NEAR(
		solar_event_moment(2024, SEPTEMBER_EQUINOX), moment_of(2024, 9, 22, 12, 44), 1 / 1440.0);
	EXPECT_NEAR(
		solar_event_moment(2024, DECEMBER_SOLSTICE), moment_of(2024, 12, 21, 9, 20), 1 / 1440.0);
	EXPECT_NEAR(new_moon_moment(new_moon_before(moment_of(2024, 2, 10, 0, 0))),
		moment_of(2024, 2, 9, 22, 59), 1 / 1440.0);

	// Dated in the file's zone: 03:06 UTC is still 19 March in California, and 12:44 UTC
	// already 23 September in New Zealand's standard time.
	const char kLines[] = "on march-equinox : \"m\" \"m\"\non september-equinox : \"s\" \"s\"\n";
	EXPECT_EQ(days_of(rules_of(kLines, "UTC"), 2024), "03-20 09-22");
	EXPECT_EQ(days_of(rules_of(kLines, "America/Los_Angeles"), 2024), "03-19 09-22");
	EXPECT_EQ(days_of(rules_of(kLines, "Pacific/Auckland"), 2024), "03-20 09-23");
}

TEST(HolidayEngine, KoreanLunisolarCalendar)
{
	const holiday_rules rules = rules_of(
		"on lunar 01-01 -1 : \"eve\" \"eve\"\n"
		"on lunar 01-01 : \"seollal\" \"seollal\"\n"
		"on lunar 04-08 : \"buddha\" \"buddha\"\n"
		"on lunar 05-01 : \"fifth\" \"fifth\"\n"
		"on lunar 08-15 : \"chuseok\" \"chuseok\"\n",
		"Asia/Seoul");
	EXPECT_EQ(days_of(rules, 2024), "02-09 02-10 05-15 06-06 09-17");
	// 2020 has a leap fourth month (23 May to 20 June), which is never matched.
	EXPECT_EQ(days_of(rules, 2020), "01-24 01-25 04-30 06-21 10-01");
	// 2023 has a leap second month; the 30th of a short month does not exist.
	EXPECT_EQ(days_of(rules, 2023), "01-21 01-22 05-27 06-18 09-29");
	const holiday_rules last_day = rules_of("on lunar 12-30 : \"x\" \"x\"\n", "Asia/Seoul");
	EXPECT_EQ(days_of(last_day, 2024), "02-09");
	EXPECT_EQ(days_of(last_day, 2025), "");
}

TEST(HolidayEngine, SubstituteDays)
{
	const holiday_rules friday_monday =
		rules_of("on 07-04 observe sat>fri sun>mon : \"a\" \"a\"\n");
	EXPECT_EQ(days_of(friday_monday, 2020), "07-03 07-04");
	EXPECT_EQ(days_of(friday_monday, 2021), "07-04 07-05");
	EXPECT_EQ(days_of(friday_monday, 2022), "07-04");
	// 1 January on a Saturday is observed on the last day of the year before.
	const holiday_rules new_year = rules_of("on 01-01 observe sat>fri : \"a\" \"a\"\n");
	EXPECT_EQ(days_of(new_year, 2021), "01-01 12-31");

	// Christmas and Boxing Day on a weekend, or Christmas on Sunday before a Monday holiday.
	const holiday_rules christmas = rules_of(
		"substitute weekend>next\n"
		"on 12-25 : \"c\" \"c\"\non 12-26 : \"b\" \"b\"\n");
	EXPECT_EQ(days_of(christmas, 2021), "12-25 12-26 12-27 12-28");
	EXPECT_EQ(days_of(christmas, 2022), "12-25 12-26 12-27");
	EXPECT_EQ(days_of(christmas, 2023), "12-25 12-26");

	// Two holidays on one day give one day more, after the next day already off.
	const holiday_rules clash = rules_of(
		"on 05-05 observe clash>next : \"a\" \"a\"\n"
		"on 05-05 observe clash>next : \"b\" \"b\"\n"
		"on 05-06 : \"c\" \"c\"\n"
		"on 06-01 move sun>mon : \"m\" \"m\"\n");
	EXPECT_EQ(days_of(clash, 2025), "05-05 05-05 05-06 05-07 06-02");
	EXPECT_EQ(days_of(clash, 2024), "05-05 05-05 05-06 05-07 06-01");
}

TEST(HolidayEngine, DefaultsHoldFromTheirDays)
{
	// A bridge day between two holidays, not on a Sunday; substitutes from one day on.
	const holiday_rules rules = rules_of(
		"substitute sun>mon from 2026-05-10\n"
		"bridge except sun from 2015\n"
		"on 05-03 : \"a\" \"a\"\non 05-05 : \"b\" \"b\"\n"
		"on 05-10 : \"c\" \"c\"\n"
		"on 05-17 observe none : \"d\" \"d\"\n");
	EXPECT_EQ(days_of(rules, 2026), "05-03 05-04 05-05 05-10 05-11 05-17");
	EXPECT_EQ(days_of(rules, 2015), "05-03 05-04 05-05 05-10 05-17");
	EXPECT_EQ(days_of(rules, 2014), "05-03 05-05 05-10 05-17"); // 4 May a Sunday
	EXPECT_EQ(days_of(rules, 2009), "05-03 05-05 05-10 05-17"); // before the bridges
}

TEST(HolidayEngine, RangesAtTheirEdges)
{
	const holiday_rules rules = rules_of(
		"on 03-08 from 2019 to 2021 : \"a\" \"a\"\n"
		"on 10-31 from 2017-10-31 to 2017-10-31 : \"b\" \"b\"\n"
		"on 06-01 from 2018-06-02 : \"c\" \"c\"\n");
	EXPECT_EQ(days_of(rules, 2017), "10-31");
	EXPECT_EQ(days_of(rules, 2018), "");
	EXPECT_EQ(days_of(rules, 2019), "03-08 06-01");
	EXPECT_EQ(days_of(rules, 2021), "03-08 06-01");
	EXPECT_EQ(days_of(rules, 2022), "06-01");
	EXPECT_EQ(days_of(rules, 1899), "");
	EXPECT_EQ(days_of(rules, 2101), "");
}

TEST(HolidayEngine, RegionsAndWeekdayConditions)
{
	const holiday_rules rules = rules_of(
		"on 01-06 in A : \"a\" \"a\"\n"
		"on 08-15 except B : \"b\" \"b\"\n"
		"on 02-01 if fri else 1 mon 02 : \"c\" \"c\"\n"
		"on 11-11 if mon,tue : \"d\" \"d\"\n");
	EXPECT_EQ(days_of(rules, 2025, ""), "02-03 08-15 11-11");
	EXPECT_EQ(days_of(rules, 2025, "A"), "01-06 02-03 08-15 11-11");
	EXPECT_EQ(days_of(rules, 2025, "B"), "02-03 11-11");
	EXPECT_EQ(days_of(rules, 2030, "B"), "02-01 11-11"); // a Friday and a Monday
	EXPECT_EQ(days_of(rules, 2032, "B"), "02-02");       // a Sunday and a Thursday
}
