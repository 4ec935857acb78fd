#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

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

// The local time zone of the process, for as long as the object lives.
class LocalZone {
public:
	explicit LocalZone(const char* zone)
	{
		const char* old = getenv("TZ");
		fHad = old != nullptr;
		fOld = fHad ? old : "";
		setenv("TZ", zone, 1);
		tzset();
	}
	~LocalZone()
	{
		if (fHad)
			setenv("TZ", fOld.c_str(), 1);
		else
			unsetenv("TZ");
		tzset();
	}

private:
	bool fHad;
	std::string fOld;
};

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

	LocalZone fZone{"UTC"};
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

// The file of every rule (tests/data/holiday-rules.ics, each event says what it tries), read
// as a calendar program shows it, in two time zones: days up to DTEND, across the new
// year, moved and cancelled occurrences, times in UTC, in the file's zone and the system's.
TEST_F(IcsHolidays, MarkTheDaysACalendarProgramShows)
{
	// The folder of the test files: DORVA_TEST_DATA where it is set, else the source tree's.
	const char* data = getenv("DORVA_TEST_DATA");
	if (data == nullptr)
		data = DORVA_TEST_DATA_DIR;
	const std::string file = std::string(data) + "/holiday-rules.ics";
	const std::string common =
		"1/1 1/2 2/22 3/1 3/2 3/3 3/10 3/11 4/5 4/14 4/19 5/3 6/15 7/3 "
		"8/1 8/2 8/3 8/4 8/5 8/20 10/1 10/3 11/5 11/11 ";
	const std::pair<const char*, std::string> zones[] = {
		{"Asia/Tokyo", common + "6/21 9/26 9/27 11/25 12/16"},
		{"America/New_York", common + "6/20 9/25 9/26 11/24 12/15"},
	};
	for (const auto& [zone, expected] : zones) {
		LocalZone local(zone);
		holiday_set set(2027);
		std::string error;
		ASSERT_TRUE(set.add(file, &error)) << error;
		EXPECT_EQ(holidays_of(set), dates(expected)) << zone;
		// The unreadable events are told, by line, and only they are left out.
		EXPECT_EQ(set.notes(),
			std::vector<std::string>({file
					+ ":112: COUNT is larger than 2147483647; the event is left out",
				file + ":116: DTSTART is not a date or a date and time; the event is left out"}));
	}
	holiday_set y2026(2026);
	std::string error;
	ASSERT_TRUE(y2026.add(file, &error)) << error;
	EXPECT_EQ(holidays_of(y2026), dates("6/15 12/30 12/31"));
}

// A file that cannot be read, or is no iCalendar file, leaves the set as it was and says
// which file, and which line where the fault is on one. One that is, with a few bad
// lines or events, is read without them.
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
	EXPECT_EQ(Add(set, "open.ics", "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20270310\n"),
		folder + "open.ics:2: BEGIN:VEVENT is never closed by END:VEVENT");
	EXPECT_EQ(Add(set, "photo.ics", "\x89PNG\r\n\x1a\n"),
		folder + "photo.ics:1: text outside a calendar: ?PNG");
	EXPECT_EQ(
		Add(set, "empty.ics", ""), folder + "empty.ics: holds no calendar (no BEGIN:VCALENDAR)");
	EXPECT_EQ(set.count(), national);
	EXPECT_TRUE(set.notes().empty());

	EXPECT_EQ(Add(set, "garbage.ics",
				  "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:20270310\nEND:VEVENT\n"
				  "BEGIN:VEVENT\nthis is not iCalendar\nDTSTART:20270311T120000\nEND:VEVENT\n"
				  "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20270312\nDTEND;VALUE=DATE:202703\n"
				  "END:VEVENT\nEND:VCALENDAR\n"),
		"");
	EXPECT_EQ(set.count(), national + 2);
	EXPECT_TRUE(set.is_holiday(2027, 3, 10) && set.is_holiday(2027, 3, 11));
	EXPECT_EQ(set.notes(),
		std::vector<std::string>(
			{folder + "garbage.ics:6: not an iCalendar line, left out: this is not iCalendar",
				folder
					+ "garbage.ics:11: DTEND is not a date or a date and time; the event is left "
					  "out"}));
}

// Files and rules made to cost a great deal are refused, or followed only near the shown
// year, whatever the year they began; the files of one set share one budget.
TEST_F(IcsHolidays, BoundsTheWorkOfHostileFiles)
{
	holiday_set set(2027);
	const std::string folder = fFolder.Path().string() + "/";
	auto event = [](const std::string& lines) {
		return "BEGIN:VCALENDAR\nBEGIN:VEVENT\n" + lines + "END:VEVENT\nEND:VCALENDAR\n";
	};

	// A rule that never occurs is left out; a daily one from 1900 is followed through 2027.
	EXPECT_EQ(Add(set, "never.ics",
				  event("DTSTART;VALUE=DATE:19000101\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\n")),
		"");
	EXPECT_EQ(set.count(), 0);
	EXPECT_EQ(Add(set, "daily.ics", event("DTSTART;VALUE=DATE:19000101\nRRULE:FREQ=DAILY\n")), "");
	EXPECT_EQ(set.count(), 365);
	EXPECT_EQ(set.notes(),
		std::vector<std::string>({folder
			+ "never.ics:4: BYMONTHDAY gives no day "
			  "of those months; the event is left out"}));

	// The largest COUNT and parameters and values per event that are read, and one more.
	holiday_set limits(2027);
	EXPECT_EQ(Add(limits, "count.ics",
				  event("DTSTART;VALUE=DATE:20270101\nRRULE:FREQ=YEARLY;COUNT=2147483647\n")
					  + event("DTSTART;VALUE=DATE:20270102\nRRULE:FREQ=YEARLY;COUNT=2147483648\n")),
		"");
	std::string parameters;
	for (int i = 0; i < 31; i++)
		parameters += ";X-P=" + std::to_string(i);
	EXPECT_EQ(Add(limits, "parameters.ics",
				  event("DTSTART;VALUE=DATE" + parameters + ":20270103\n")
					  + event("DTSTART;VALUE=DATE" + parameters + ";X-Q=1:20270104\n")),
		"");
	std::string exdates = "20270201";
	for (int i = 1; i < 4999; i++)
		exdates += ",20270201";
	EXPECT_EQ(Add(limits, "values.ics",
				  event("DTSTART;VALUE=DATE:20270105\nEXDATE;VALUE=DATE:" + exdates + "\n")
					  + event("DTSTART;VALUE=DATE:20270106\nEXDATE;VALUE=DATE:" + exdates
						  + ",20270201\n")),
		"");
	EXPECT_EQ(holidays_of(limits), dates("1/1 1/3 1/5"));
	EXPECT_EQ(limits.notes(),
		std::vector<std::string>({folder
				+ "count.ics:10: COUNT is larger than 2147483647; the event is left out",
			folder + "parameters.ics:8: more than 32 parameters; the event is left out",
			folder + "values.ics:10: more than 5000 dates and properties; the event is left out"}));

	// Thousands of short series of 2010 cost nothing in 2099; thousands of birthdays little.
	holiday_set y2099(2099);
	std::string many = "BEGIN:VCALENDAR\n";
	for (int i = 0; i < 3000; i++) {
		many +=
			"BEGIN:VEVENT\nDTSTART;VALUE=DATE:20100104\nRRULE:FREQ=WEEKLY;COUNT=10;BYDAY=MO\n"
			"END:VEVENT\nBEGIN:VEVENT\nDTSTART;VALUE=DATE:19700614\nRRULE:FREQ=YEARLY\n"
			"END:VEVENT\n";
	}
	EXPECT_EQ(Add(y2099, "many.ics", many + "END:VCALENDAR\n"), "");
	EXPECT_EQ(holidays_of(y2099), dates("6/14"));

	holiday_set other(2027);
	EXPECT_EQ(Add(other, "seconds.ics",
				  event("DTSTART:19000101T000000\nRRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30\n")),
		"");
	EXPECT_EQ(other.notes().back(),
		folder + "seconds.ics:4: the event repeats more often than daily, but not every day; the "
				 "event is left out");
	EXPECT_EQ(Add(other, "ages.ics",
				  event("DTSTART;VALUE=DATE:00010101\nRRULE:FREQ=DAILY;COUNT=99999999\n")),
		folder
			+ "ages.ics:2: the holiday files' recurring events and time zones take too long to "
			  "follow");
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

	// 8 MiB for all the files of a set together: to the byte.
	holiday_set shared(2027);
	const std::string small = event("DTSTART;VALUE=DATE:20270107\n");
	const std::string large = event("DTSTART;VALUE=DATE:20270108\n");
	const size_t rest = (8 << 20) - 2 * small.size();
	EXPECT_EQ(Add(shared, "large.ics", large + std::string(rest - large.size(), '\n')), "");
	EXPECT_EQ(Add(shared, "small.ics", small), "");
	EXPECT_EQ(Add(shared, "longer.ics", small + "\n"),
		folder + "longer.ics: is too large: the holiday files together may hold 8 MiB");
	EXPECT_EQ(Add(shared, "last.ics", small), "");
	EXPECT_EQ(Add(shared, "one-more.ics", "\n"),
		folder + "one-more.ics: is too large: the holiday files together may hold 8 MiB");
	EXPECT_EQ(holidays_of(shared), dates("1/7 1/8"));
}

} // namespace
