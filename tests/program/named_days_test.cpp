#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TempDirectory.h"
#include "civil_date.h"
#include "holiday_set.h"
#include "named_days.h"

namespace {

std::vector<named_day> holidays(
	const std::vector<std::string>& sources, int year, const std::string& language)
{
	std::vector<named_day> days;
	std::vector<std::string> notes;
	std::string error;
	EXPECT_TRUE(named_holidays(sources, year, language, &days, &notes, &error)) << error;
	EXPECT_TRUE(notes.empty());
	return days;
}

// The names a list gives the day, joined by " | ".
std::string on(const std::vector<named_day>& days, int month, int day)
{
	std::string names;
	for (const named_day& d : days) {
		if (d.month == month && d.day == day)
			names += (names.empty() ? "" : " | ") + d.name;
	}
	return names;
}

std::vector<named_day> events(const std::string& path, int year)
{
	std::vector<named_day> found;
	std::vector<std::string> notes;
	std::string error;
	ics_budget budget;
	EXPECT_TRUE(read_ics_events(path, year, &budget, &found, &notes, &error)) << error;
	return found;
}

std::string calendar(const std::string& events)
{
	return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + events
		+ "END:VCALENDAR\r\n";
}

} // namespace

TEST(NamedDays, GermanHolidaysInGermanAndEnglish)
{
	const std::vector<named_day> german = holidays({"de"}, 2027, "de_DE");
	ASSERT_EQ(german.size(), 9u);
	EXPECT_EQ(german.front().month, 1);
	EXPECT_EQ(german.front().name, "Neujahr");
	EXPECT_EQ(on(german, 3, 26), "Karfreitag");
	EXPECT_EQ(on(german, 5, 6), "Christi Himmelfahrt");
	EXPECT_EQ(on(german, 10, 3), "Tag der Deutschen Einheit");
	EXPECT_EQ(german.back().name, "2. Weihnachtstag");

	const std::vector<named_day> english = holidays({"de"}, 2027, "en_GB.UTF-8");
	ASSERT_EQ(english.size(), 9u);
	EXPECT_EQ(on(english, 3, 29), "Easter Monday");
	EXPECT_EQ(on(english, 10, 3), "German Unity Day");
	// A language the file has no names in gets the country's own.
	EXPECT_EQ(on(holidays({"de"}, 2027, "ja"), 5, 17), "Pfingstmontag");

	// A region's set adds its days; a day that two sets give is listed once.
	const std::vector<named_day> bavaria = holidays({"de", "de-by"}, 2027, "de");
	EXPECT_EQ(on(bavaria, 1, 6), "Heilige Drei Könige");
	EXPECT_EQ(on(bavaria, 1, 1), "Neujahr");
	EXPECT_EQ(on(bavaria, 8, 15), "Mariä Himmelfahrt");
}

TEST(NamedDays, SubstituteAndBridgeDaysByTheFilesNames)
{
	const std::vector<named_day> japan = holidays({"jp"}, 2026, "ja");
	EXPECT_EQ(on(japan, 5, 3), "憲法記念日"); // a Sunday
	EXPECT_EQ(on(japan, 5, 6), "振替休日");
	EXPECT_EQ(on(japan, 9, 22), "国民の休日"); // between 敬老の日 and 秋分の日
	EXPECT_EQ(on(japan, 9, 21), "敬老の日");
	const std::vector<named_day> inEnglish = holidays({"jp"}, 2026, "en");
	EXPECT_EQ(on(inEnglish, 5, 6), "Substitute Holiday");
	EXPECT_EQ(on(inEnglish, 9, 22), "Citizens' Holiday");

	// 3·1절 on a Sunday, the Monday off in its place.
	EXPECT_EQ(on(holidays({"kr"}, 2026, "ko_KR"), 3, 2), "대체공휴일");

	// A file that names no substitute days gives them their holiday's name.
	const std::vector<named_day> britain = holidays({"gb"}, 2026, "en");
	EXPECT_EQ(on(britain, 12, 26), "Boxing Day");
	EXPECT_EQ(on(britain, 12, 28), "Boxing Day");
	EXPECT_EQ(on(holidays({"gb"}, 2026, "cy"), 12, 28), "Gŵyl San Steffan");
}

TEST(NamedDays, TranslationsOfTheRuleFiles)
{
	EXPECT_EQ(on(holidays({"be"}, 2027, "fr_BE"), 1, 1), "Nouvel An");
	EXPECT_EQ(on(holidays({"be"}, 2027, "nl_BE"), 1, 1), "Nieuwjaar");
	EXPECT_EQ(on(holidays({"be"}, 2027, "de-BE"), 1, 1), "Neujahr");
	EXPECT_EQ(on(holidays({"be"}, 2027, "en"), 1, 1), "New Year's Day");
	const std::vector<named_day> french = holidays({"be"}, 2027, "fr");
	EXPECT_EQ(on(french, 3, 29), "Lundi de Pâques");
	EXPECT_EQ(on(french, 11, 11), "Armistice");
}

// The names are given for the very days the calendar marks.
TEST(NamedDays, TheDaysOfTheHolidaySets)
{
	const std::vector<std::pair<const char*, int>> sets = {
		{"jp", 2026}, {"jp", 2019}, {"kr", 2026}, {"gb", 2026}, {"us", 2027}, {"de-by", 2027}};
	for (const auto& [source, year] : sets) {
		holiday_set set(year);
		std::string error;
		ASSERT_TRUE(set.add(source, &error)) << error;
		year_days named;
		for (const named_day& d : holidays({source}, year, "en")) {
			const size_t index = size_t(day_number(year, d.month, d.day) - day_number(year, 1, 1));
			named.set(index);
		}
		EXPECT_EQ(named, set.days()) << source << " " << year;
	}
	// Japan's days all have names, 2019's bridge days (30 April, 2 May) included.
	for (const named_day& d : holidays({"jp"}, 2019, "ja"))
		EXPECT_FALSE(d.name.empty()) << d.month << "/" << d.day;
}

TEST(NamedDays, BridgeDaysWithoutANameStayUnnamed)
{
	TempDirectory folder;
	folder.WriteFile("xa.rules",
		"country XA \"A\" \"A\"\nsource \"test\"\nzone UTC\nyears 2000 2099\n"
		"bridge\non 05-03 : \"Drei\" \"Three\"\non 05-05 : \"Fünf\" \"Five\"\n");
	setenv("DORVA_HOLIDAY_RULES", folder.Path().c_str(), 1);
	const std::vector<named_day> days = holidays({"xa"}, 2027, "en");
	setenv("DORVA_HOLIDAY_RULES", DORVA_HOLIDAY_SOURCES, 1);
	ASSERT_EQ(days.size(), 3u);
	EXPECT_EQ(days[1].month, 5);
	EXPECT_EQ(days[1].day, 4);
	EXPECT_EQ(days[1].name, "");
	EXPECT_EQ(days[2].name, "Five");
}

TEST(NamedDays, FailureLeavesTheListAsItWas)
{
	std::vector<named_day> days = {{1, 2, "kept"}};
	std::vector<std::string> notes;
	std::string error;
	EXPECT_FALSE(named_holidays({"de", "zz"}, 2027, "de", &days, &notes, &error));
	EXPECT_NE(error.find("zz"), std::string::npos) << error;
	EXPECT_EQ(error.find('\n'), std::string::npos);
	ASSERT_EQ(days.size(), 1u);
	EXPECT_EQ(days[0].name, "kept");
	EXPECT_FALSE(named_holidays({"/nonexistent/family.ics"}, 2027, "de", &days, &notes, &error));
	EXPECT_EQ(error.rfind("/nonexistent/family.ics: cannot be read", 0), 0u) << error;
	EXPECT_EQ(days.size(), 1u);
	EXPECT_TRUE(named_holidays({"none"}, 2027, "de", &days, &notes, &error));
	EXPECT_TRUE(days.empty());
}

TEST(NamedDays, YearlyBirthdayAndOtherEvents)
{
	TempDirectory folder;
	const std::string path = folder.WriteFile("family.ics",
		calendar("BEGIN:VEVENT\r\nUID:1\r\nDTSTART;VALUE=DATE:19800229\r\n"
				 "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=-1\r\nSUMMARY:Anna's birthday\r\n"
				 "END:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nUID:2\r\nDTSTART;VALUE=DATE:20270102\r\n"
				 "DTEND;VALUE=DATE:20270105\r\nSUMMARY:Ski\r\n  trip\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nUID:3\r\nDTSTART;VALUE=DATE:19990611\r\n"
				 "RRULE:FREQ=YEARLY\r\nSUMMARY:Wedding day\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nUID:4\r\nDTSTART;VALUE=DATE:20270611\r\n"
				 "SUMMARY:Wedding day\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nUID:5\r\nDTSTART;VALUE=DATE:20270103\r\nEND:VEVENT\r\n"));
	const std::vector<named_day> days = events(path, 2027);
	ASSERT_EQ(days.size(), 6u);
	EXPECT_EQ(on(days, 1, 2), "Ski trip");
	EXPECT_EQ(on(days, 1, 3), "Ski trip | "); // the event without a summary after it
	EXPECT_EQ(on(days, 1, 4), "Ski trip");
	EXPECT_EQ(on(days, 1, 5), "");
	EXPECT_EQ(on(days, 2, 28), "Anna's birthday");
	EXPECT_EQ(on(days, 6, 11), "Wedding day"); // two events of one name, listed once
	EXPECT_EQ(on(events(path, 2028), 2, 29), "Anna's birthday");
	EXPECT_EQ(events(path, 2028).size(), 2u);
}

TEST(NamedDays, SummariesMadeSafeToShow)
{
	TempDirectory folder;
	const std::string longName(300, 'x');
	const std::string path = folder.WriteFile("odd.ics",
		calendar("BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270301\r\n"
				 "SUMMARY;LANGUAGE=en:a\\, b\\nc\\;d\\\\e\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270302\r\n"
				 "SUMMARY:Bad \xff\xc3 bytes\x1b[31m \xed\xa0\x80\xc2\x9b\x7f end\r\n"
				 "END:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270303\r\nSUMMARY:"
			+ longName
			+ "\r\nEND:VEVENT\r\n"
			  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270304\r\nSUMMARY:"
			+ std::string(199, 'y')
			+ "\xc3\xa4\r\nEND:VEVENT\r\n"
			  "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270305\r\n"
			  "SUMMARY: \\n Üb\\tt  \t\r\nSUMMARY:second\r\nEND:VEVENT\r\n"));
	const std::vector<named_day> days = events(path, 2027);
	ASSERT_EQ(days.size(), 5u);
	EXPECT_EQ(days[0].name, "a, b c;d\\e");
	// Each byte that is no UTF-8 becomes U+FFFD (a lone surrogate's three bytes too); the
	// escape character, C1 controls and DEL go.
	EXPECT_EQ(days[1].name,
		"Bad \xef\xbf\xbd\xef\xbf\xbd bytes[31m \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd end");
	EXPECT_EQ(days[2].name, std::string(kMaxEventName, 'x'));
	// Cut before a character that would not fit whole.
	EXPECT_EQ(days[3].name, std::string(199, 'y'));
	EXPECT_EQ(days[4].name, "Übtt");
}

TEST(NamedDays, EventsReadLikeHolidays)
{
	TempDirectory folder;
	// The same file as holidays and as events: the same days, and the file's faults noted
	// the same way.
	const std::string path = folder.WriteFile("mixed.ics",
		calendar("BEGIN:VEVENT\r\nUID:w\r\nDTSTART:20270104T090000\r\nDTEND:20270104T100000\r\n"
				 "RRULE:FREQ=WEEKLY;COUNT=3\r\nEXDATE:20270111T090000\r\nSUMMARY:Choir\r\n"
				 "END:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nUID:w\r\nRECURRENCE-ID:20270118T090000\r\n"
				 "DTSTART:20270119T090000\r\nSUMMARY:Choir (moved)\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nDTSTART:2027\r\nSUMMARY:Broken\r\nEND:VEVENT\r\n"
				 "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270120\r\nSTATUS:CANCELLED\r\n"
				 "SUMMARY:Off\r\nEND:VEVENT\r\n"));
	std::vector<named_day> found;
	std::vector<std::string> eventNotes;
	std::string error;
	ics_budget budget;
	ASSERT_TRUE(read_ics_events(path, 2027, &budget, &found, &eventNotes, &error)) << error;
	ASSERT_EQ(found.size(), 2u);
	EXPECT_EQ(on(found, 1, 4), "Choir");
	EXPECT_EQ(on(found, 1, 19), "Choir (moved)");

	holiday_set set(2027);
	ASSERT_TRUE(set.add(path, &error)) << error;
	EXPECT_EQ(set.count(), 2);
	EXPECT_TRUE(set.is_holiday(2027, 1, 19));
	EXPECT_EQ(set.notes(), eventNotes);
	ASSERT_EQ(eventNotes.size(), 1u);
	EXPECT_NE(eventNotes[0].find("mixed.ics:"), std::string::npos);

	// A broken file: refused whole, the list kept.
	const std::string broken = folder.WriteFile("broken.ics", "BEGIN:VEVENT\r\nEND:VEVENT\r\n");
	EXPECT_FALSE(read_ics_events(broken, 2027, &budget, &found, &eventNotes, &error));
	EXPECT_EQ(error.rfind(broken + ":1: ", 0), 0u) << error;
	EXPECT_EQ(found.size(), 2u);
}

TEST(NamedDays, ADayHoldsAtMostSoManyEvents)
{
	TempDirectory folder;
	std::string many;
	for (size_t i = 0; i <= kMaxEventsOnOneDay; i++) {
		many += "BEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270707\r\nSUMMARY:event " + std::to_string(i)
			+ "\r\nEND:VEVENT\r\n";
	}
	const std::string path = folder.WriteFile("many.ics", calendar(many));
	std::vector<named_day> found;
	std::vector<std::string> notes;
	std::string error;
	ics_budget budget;
	ASSERT_TRUE(read_ics_events(path, 2027, &budget, &found, &notes, &error)) << error;
	ASSERT_EQ(found.size(), kMaxEventsOnOneDay);
	EXPECT_EQ(found.back().name, "event " + std::to_string(kMaxEventsOnOneDay - 1));
	ASSERT_EQ(notes.size(), 1u);
	EXPECT_EQ(notes[0], path + ": more than 100 events on one day; the others are left out");
}
