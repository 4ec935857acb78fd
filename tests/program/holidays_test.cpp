#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "TempDirectory.h"
#include "holiday_set.h"

namespace {

typedef std::set<std::pair<int, int>> date_list;

// Dates written "month/day", separated by spaces.
date_list dates(const std::string& text)
{
	date_list list;
	std::istringstream in(text);
	int month, day;
	char slash;
	while (in >> month >> slash >> day)
		list.insert({month, day});
	return list;
}

date_list holidays_of(const holiday_set& set)
{
	date_list list;
	for (int m = 1; m <= 12; m++) {
		for (int d = 1; d <= 31; d++) {
			if (set.is_holiday(set.year(), m, d))
				list.insert({m, d});
		}
	}
	return list;
}

holiday_set japanese(int year)
{
	holiday_set set(year);
	std::string error;
	EXPECT_TRUE(set.add("jp", &error)) << error;
	return set;
}

// The national holidays of these years as the Cabinet Office publishes them (内閣府
// 「国民の祝日について」 and its list of the holidays since 1955, syukujitsu.csv), substitute
// holidays and citizens' holidays included; typed in by hand and checked against the rules.
TEST(JapaneseHolidays, MatchTheCabinetOfficeLists)
{
	const std::pair<int, const char*> lists[] = {
		{1990,
			"1/1 1/15 2/11 2/12 3/21 4/29 4/30 5/3 5/4 5/5 9/15 9/23 9/24 10/10 11/3 11/12 "
			"11/23 12/23 12/24"},
		{2000, "1/1 1/10 2/11 3/20 4/29 5/3 5/4 5/5 7/20 9/15 9/23 10/9 11/3 11/23 12/23"},
		{2007,
			"1/1 1/8 2/11 2/12 3/21 4/29 4/30 5/3 5/4 5/5 7/16 9/17 9/23 9/24 10/8 11/3 "
			"11/23 12/23 12/24"},
		{2019,
			"1/1 1/14 2/11 3/21 4/29 4/30 5/1 5/2 5/3 5/4 5/5 5/6 7/15 8/11 8/12 9/16 9/23 "
			"10/14 10/22 11/3 11/4 11/23"},
		{2020,
			"1/1 1/13 2/11 2/23 2/24 3/20 4/29 5/3 5/4 5/5 5/6 7/23 7/24 8/10 9/21 9/22 "
			"11/3 11/23"},
		{2021, "1/1 1/11 2/11 2/23 3/20 4/29 5/3 5/4 5/5 7/22 7/23 8/8 8/9 9/20 9/23 11/3 11/23"},
		{2025,
			"1/1 1/13 2/11 2/23 2/24 3/20 4/29 5/3 5/4 5/5 5/6 7/21 8/11 9/15 9/23 10/13 "
			"11/3 11/23 11/24"},
		{2026,
			"1/1 1/12 2/11 2/23 3/20 4/29 5/3 5/4 5/5 5/6 7/20 8/11 9/21 9/22 9/23 10/12 "
			"11/3 11/23"},
	};
	for (const auto& [year, expected] : lists)
		EXPECT_EQ(holidays_of(japanese(year)), dates(expected)) << year;
}

// The rules where they begin and end, and the days given off only once.
TEST(JapaneseHolidays, FollowTheRulesFromTheYearsTheyBegan)
{
	// The law took effect on 20 July 1948: three of its holidays came after.
	EXPECT_EQ(holidays_of(japanese(1948)), dates("9/23 11/3 11/23"));
	EXPECT_EQ(holidays_of(japanese(1949)), dates("1/1 1/15 3/21 4/29 5/3 5/5 9/23 11/3 11/23"));
	EXPECT_TRUE(japanese(1959).is_holiday(1959, 4, 10));
	EXPECT_TRUE(japanese(1989).is_holiday(1989, 2, 24));
	EXPECT_TRUE(japanese(1993).is_holiday(1993, 6, 9));
	// National Foundation Day fell on a Sunday in 1973, before the substitute rule began on
	// 12 April; 29 April of that year was the first to give its Monday off.
	const holiday_set y1973 = japanese(1973);
	EXPECT_FALSE(y1973.is_holiday(1973, 2, 12));
	EXPECT_TRUE(y1973.is_holiday(1973, 4, 30));
	// 4 May between two holidays: a Sunday in 1986, so not given off, a Wednesday in 1988.
	EXPECT_FALSE(japanese(1986).is_holiday(1986, 5, 4));
	EXPECT_TRUE(japanese(1988).is_holiday(1988, 5, 4));
	// 2009: a citizens' holiday between Respect for the Aged Day and the autumnal equinox,
	// and a substitute that skips over two holidays to 6 May.
	const holiday_set y2009 = japanese(2009);
	EXPECT_TRUE(y2009.is_holiday(2009, 9, 22));
	EXPECT_TRUE(y2009.is_holiday(2009, 5, 6));
	EXPECT_TRUE(japanese(2099).is_holiday(2099, 3, 20)); // the formula's last year
	EXPECT_EQ(japanese(2100).count(), 0);
}

class IcsHolidays : public ::testing::Test {
protected:
	// Adds the file to a set of the year; the error, or "" when it was read.
	std::string Add(holiday_set& set, const std::string& name, const std::string& text)
	{
		std::string error;
		if (!set.add(fFolder.WriteFile(name, text), &error))
			return error;
		return "";
	}

	TempDirectory fFolder;
};

// With the line ends of the standard, carriage return and line feed.
std::string crlf(const std::string& text)
{
	std::string out;
	for (char c : text)
		out += c == '\n' ? std::string("\r\n") : std::string(1, c);
	return out;
}

const std::string kFamily = crlf(R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//family//holidays//EN
BEGIN:VEVENT
UID:1
DTSTART;VALUE=DATE:20270310
SUMMARY:Moving day
END:VEVENT
BEGIN:VEVENT
UID:2
DTSTART;VALUE=DATE:19800615
RRULE:FREQ=YEARLY
SUMMARY:Birthday of a grandmother whose
  name is long enough to fold
END:VEVENT
BEGIN:VEVENT
UID:3
DTSTART;VALUE=DATE:20261224
SUMMARY:Only in 2026
END:VEVENT
BEGIN:VEVENT
UID:4
DTSTART;VALUE=DATE:19900513
RRULE:FREQ=YEARLY;BYMONTH=5;BYDAY=2SU
EXDATE;VALUE=DATE:20260510
END:VEVENT
BEGIN:VEVENT
UID:5
DTSTART;TZID=Europe/Berlin:20270705T100000
BEGIN:VALARM
ACTION:DISPLAY
TRIGGER:-PT15M
END:VALARM
END:VEVENT
BEGIN:VEVENT
UID:6
DTSTART:19811111T190000Z
RRULE:FREQ=YEARLY;INTERVAL=2
END:VEVENT
END:VCALENDAR
)");

// One-off events, a yearly birthday from an earlier year, a rule with an excluded date and
// an event of another year, combined with the Japanese holidays.
TEST_F(IcsHolidays, MarksTheEventsOfTheShownYear)
{
	holiday_set y2027 = japanese(2027);
	const date_list national = holidays_of(y2027);
	ASSERT_EQ(Add(y2027, "family.ics", kFamily), "");
	date_list expected = dates("3/10 5/9 6/15 7/5 11/11");
	expected.insert(national.begin(), national.end());
	EXPECT_EQ(holidays_of(y2027), expected);

	// In 2026 the other event counts, Mother's Day is excluded, and the event of every
	// other year does not come.
	holiday_set y2026(2026);
	ASSERT_EQ(Add(y2026, "family.ics", kFamily), "");
	EXPECT_EQ(holidays_of(y2026), dates("6/15 12/24"));

	// Before the birthday's first year there is nothing.
	holiday_set y1979(1979);
	ASSERT_EQ(Add(y1979, "family.ics", kFamily), "");
	EXPECT_EQ(y1979.count(), 0);
}

// A file that cannot be read or parsed leaves the set as it was and says which file, and
// which line where the fault is on one.
TEST_F(IcsHolidays, NamesTheFileAndLineOfAFault)
{
	holiday_set set = japanese(2027);
	const int national = set.count();
	const std::string folder = fFolder.Path().string() + "/";
	std::string error;

	EXPECT_FALSE(set.add(folder + "missing.ics", &error));
	EXPECT_EQ(error, folder + "missing.ics: cannot be read: No such file or directory");
	EXPECT_FALSE(set.add("jq", &error));
	EXPECT_EQ(error, "jq: no such holiday set (nearest: jp; --holidays list names them all)");

	// The event before the broken line is not kept either.
	EXPECT_EQ(Add(set, "garbage.ics",
	              "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270101\nEND:VEVENT\n"
	              "BEGIN:VEVENT\nthis is not iCalendar\nEND:VEVENT\nEND:VCALENDAR\n"),
	          folder + "garbage.ics:6: Got a data line, but could not find a property name or "
	                   "component begin tag: this is not iCalendar");
	EXPECT_EQ(Add(set, "date.ics",
	              "BEGIN:VCALENDAR\n\nBEGIN:VEVENT\nDTSTART:tomorrow\nEND:VEVENT\n"
	              "END:VCALENDAR\n"),
	          folder + "date.ics:4: Can't parse as DATE-TIME value in DTSTART property. Removing "
	                   "entire property: tomorrow");
	EXPECT_EQ(Add(set, "open.ics", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20270310\n"),
		folder + "open.ics:2: BEGIN:VEVENT is never closed by END:VEVENT");
	EXPECT_EQ(Add(set, "photo.ics", "\x89PNG\r\n\x1a\n"),
		folder + "photo.ics:1: text outside a calendar: ?PNG");
	EXPECT_EQ(
		Add(set, "empty.ics", ""), folder + "empty.ics: holds no calendar (no BEGIN:VCALENDAR)");
	EXPECT_EQ(set.count(), national);
}

// Files and rules made to cost a great deal are refused, or followed only through the
// shown year.
TEST_F(IcsHolidays, BoundsTheWorkOfHostileFiles)
{
	holiday_set set(2027);
	const std::string folder = fFolder.Path().string() + "/";
	auto event = [](const std::string& lines) {
		return "BEGIN:VCALENDAR\nBEGIN:VEVENT\n" + lines + "END:VEVENT\nEND:VCALENDAR\n";
	};

	// A rule that never occurs, and a daily one from 1900, are followed through 2027 only.
	EXPECT_EQ(Add(set, "never.ics",
				  event("DTSTART;VALUE=DATE:19000101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\n")),
		"");
	EXPECT_EQ(set.count(), 0);
	EXPECT_EQ(Add(set, "daily.ics", event("DTSTART;VALUE=DATE:19000101\nRRULE:FREQ=DAILY\n")), "");
	EXPECT_EQ(set.count(), 365);

	holiday_set other(2027);
	EXPECT_EQ(Add(other, "seconds.ics",
				  event("DTSTART:19000101T000000\nRRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30\n")),
		folder + "seconds.ics:2: the event repeats more often than daily");
	EXPECT_EQ(Add(other, "ages.ics",
				  event("DTSTART;VALUE=DATE:00010101\nRRULE:FREQ=DAILY;COUNT=99999999\n")),
		folder + "ages.ics:2: the events repeat too often to be expanded");
	std::string deep = "BEGIN:VCALENDAR\n";
	for (int i = 0; i < 20; i++)
		deep += "BEGIN:X-BOX\n";
	EXPECT_EQ(Add(other, "deep.ics", deep), folder + "deep.ics:17: components nested too deeply");
	EXPECT_EQ(Add(other, "huge.ics", event("") + std::string(9 << 20, '\n')),
		folder + "huge.ics: is larger than 8 MiB, too large for a holiday file");
	std::string error;
	EXPECT_FALSE(other.add(folder, &error));
	EXPECT_EQ(error, folder + ": is a folder, not an iCalendar file");
	EXPECT_EQ(other.count(), 0);
}

} // namespace
