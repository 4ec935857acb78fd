#include <gtest/gtest.h>

#include <string>

#include "holiday_rules.h"

namespace {

const char kGood[] =
	"# comment\n"
	"country XX \"Länd \\\"X\\\"\" \"Land\"  # trailing comment\n"
	"source \"a law\"\n"
	"zone Europe/Berlin\n"
	"years 1990 2099\n"
	"region A1 \"A\" \"A\"\n"
	"substitute sun>mon clash>next from 2000\n"
	"on 01-01 : \"Neujahr\" \"New Year's Day\" fr:\"Nouvel an\"\n"
	"on easter +1 in A1 to 2020-12-31 observe none : \"b\" \"b\"\n";

// The message a file with line replaced by the given text gets, or "" when it is read.
std::string fault_with(int line, const std::string& text)
{
	std::string file = kGood;
	size_t start = 0;
	for (int i = 1; i < line; i++)
		start = file.find('\n', start) + 1;
	file.replace(start, file.find('\n', start) - start, text);
	holiday_rules rules;
	rules.code = "untouched";
	std::string error;
	if (parse_holiday_rules(file, "xx.rules", &rules, &error))
		return "";
	EXPECT_EQ(rules.code, "untouched");
	return error;
}

} // namespace

TEST(HolidayRules, ReadsAWholeFile)
{
	holiday_rules rules;
	std::string error;
	ASSERT_TRUE(parse_holiday_rules(kGood, "xx.rules", &rules, &error)) << error;
	EXPECT_EQ(rules.code, "XX");
	EXPECT_EQ(rules.local_name, "Länd \"X\"");
	EXPECT_EQ(rules.first_year, 1990);
	ASSERT_EQ(rules.rules.size(), 2u);
	EXPECT_EQ(rules.rules[0].translations.size(), 1u);
	EXPECT_EQ(rules.rules[1].date.kind, rule_date::EASTER);
	EXPECT_EQ(rules.rules[1].date.offset, 1);
	EXPECT_EQ(rules.rules[1].line, 9);
	EXPECT_TRUE(rules.rules[1].own_substitutes);
	EXPECT_EQ(rules.substitutes.at(0).steps.size(), 2u);
	EXPECT_TRUE(
		parse_holiday_rules("\xef\xbb\xbf" + std::string(kGood), "xx.rules", &rules, &error))
		<< error;
}

// A fault anywhere refuses the whole file and names its line.
TEST(HolidayRules, RefusesABrokenFileNamingTheLine)
{
	EXPECT_EQ(fault_with(8, "on 01-01 : \"Neujahr\" \"New Year's Day\""), "");
	EXPECT_EQ(
		fault_with(8, "on 02-30 : \"a\" \"a\""), "xx.rules:8: '02-30' is not a day of the year");
	EXPECT_EQ(fault_with(8, "on 6 mon 01 : \"a\" \"a\""), "xx.rules:8: '6' is not a date");
	EXPECT_EQ(fault_with(8, "on 01-01 : \"a"), "xx.rules:8: unterminated quoted string");
	EXPECT_EQ(fault_with(8, "on 01-01 : \"a\""), "xx.rules:8: expected the English name in quotes");
	EXPECT_EQ(fault_with(8, "on 01-01 in B : \"a\" \"a\""),
		"xx.rules:8: 'B' is not a region declared in the header");
	EXPECT_EQ(fault_with(8, "on 01-01 from 2000 from 2001 : \"a\" \"a\""),
		"xx.rules:8: 'from' given twice");
	EXPECT_EQ(fault_with(8, "on 01-01 from 2001 to 2000 : \"a\" \"a\""),
		"xx.rules:8: 'to' lies before 'from'");
	EXPECT_EQ(fault_with(8, "on 01-01 observe sun>tue : \"a\" \"a\""),
		"xx.rules:8: 'tue' is not a target (fri mon prev next)");
	EXPECT_EQ(fault_with(8, "on 01-01 : \"a\" \"a\" fra:\"b\""),
		"xx.rules:8: expected a translation ll:\"name\"");
	EXPECT_EQ(fault_with(9, "region B \"B\" \"B\""),
		"xx.rules:9: 'region' belongs in the header, before the first 'on'");
	EXPECT_EQ(fault_with(4, "zone Europe/Nowhere"),
		"xx.rules:4: 'Europe/Nowhere' is not a time zone known here");
	EXPECT_EQ(fault_with(2, "source \"x\""), "xx.rules:2: the first statement must be 'country'");
	EXPECT_EQ(fault_with(3, ""), "xx.rules:9: the file names no 'source'");
	EXPECT_EQ(fault_with(7, "substitute sun>mon to 1999 x"), "xx.rules:7: unexpected 'x'");
	EXPECT_EQ(
		fault_with(2, "country XY \"a\" \"b\""), "xx.rules:2: the country XY belongs in xy.rules");
	EXPECT_EQ(fault_with(5, "years 1583 9999"), "");
	EXPECT_EQ(
		fault_with(5, "years 1582 2099"), "xx.rules:5: '1582' is not a year from 1583 to 9999");
}

// A file holds at most 1000 holiday lines, so that a year is always computed at once.
TEST(HolidayRules, RefusesAFileOfTooManyHolidays)
{
	std::string file = kGood;
	for (int i = 2; i < 1000; i++)
		file += "on 01-01 : \"a\" \"a\"\n";
	holiday_rules rules;
	std::string error;
	EXPECT_TRUE(parse_holiday_rules(file, "xx.rules", &rules, &error)) << error;
	file += "on 01-01 : \"a\" \"a\"\n";
	EXPECT_FALSE(parse_holiday_rules(file, "xx.rules", &rules, &error));
	EXPECT_EQ(error, "xx.rules:1008: more than 1000 holiday lines");
}

// Substitute and bridge days may each be named once, as holidays are.
TEST(HolidayRules, NamesOfSubstituteAndBridgeDays)
{
	holiday_rules rules;
	std::string error;
	const std::string named = std::string(kGood)
		+ "name substitute : \"Ersatz\" \"Substitute\" fr:\"Remplacement\"\n"
		  "name bridge : \"Brücke\" \"Bridge\"\n";
	ASSERT_TRUE(parse_holiday_rules(named, "xx.rules", &rules, &error)) << error;
	EXPECT_EQ(rules.substitute_name.local_name, "Ersatz");
	EXPECT_EQ(rules.substitute_name.english_name, "Substitute");
	ASSERT_EQ(rules.substitute_name.translations.size(), 1u);
	EXPECT_EQ(rules.substitute_name.translations[0].second, "Remplacement");
	EXPECT_EQ(rules.bridge_name.english_name, "Bridge");
	EXPECT_TRUE(rules.bridge_name.translations.empty());

	EXPECT_EQ(fault_with(9, "name substitute : \"a\" \"b\" fr:\"c\""), "");
	EXPECT_EQ(fault_with(9, "name moved : \"a\" \"b\""),
		"xx.rules:9: 'moved' is not a kind of day to name (substitute bridge)");
	EXPECT_EQ(fault_with(9, "name bridge \"a\" \"b\""), "xx.rules:9: expected ':'");
	EXPECT_EQ(
		fault_with(9, "name bridge : \"a\""), "xx.rules:9: expected the English name in quotes");
	EXPECT_EQ(fault_with(9, "name bridge : \"a\" \"b\" x"),
		"xx.rules:9: expected a translation ll:\"name\"");
	ASSERT_FALSE(
		parse_holiday_rules(named + "name bridge : \"c\" \"d\"\n", "xx.rules", &rules, &error));
	EXPECT_EQ(error, "xx.rules:12: the bridge days are named twice");
}
