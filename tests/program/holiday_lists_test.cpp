#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "civil_date.h"
#include "holiday_catalogue.h"
#include "holiday_engine.h"

namespace {

// The holiday tests read the repository's rule files unless told otherwise.
class SourceRules : public testing::Environment {
public:
	void SetUp() override { setenv("DORVA_HOLIDAY_RULES", DORVA_HOLIDAY_SOURCES, 0); }
};
const testing::Environment* const kSourceRules = testing::AddGlobalTestEnvironment(new SourceRules);

std::string joined(const std::set<std::string>& days)
{
	std::string text;
	for (const std::string& day : days)
		text += " " + day;
	return text;
}

} // namespace

// Every list in tests/data/holidays, <set>-<year>.txt, typed from an official list: the
// set's days in that year are exactly the listed ones.
TEST(HolidayLists, MatchTheOfficialLists)
{
	int lists = 0;
	for (const auto& entry : std::filesystem::directory_iterator(DORVA_HOLIDAY_LISTS)) {
		const std::string file = entry.path().filename().string();
		if (entry.path().extension() != ".txt")
			continue;
		const std::string stem = entry.path().stem().string();
		const std::string set = stem.substr(0, stem.size() - 5);
		const int year = std::atoi(stem.substr(stem.size() - 4).c_str());
		lists++;

		std::set<std::string> expected;
		std::ifstream in(entry.path());
		std::string line;
		bool named_source = false;
		while (std::getline(in, line)) {
			if (line.rfind("# source:", 0) == 0)
				named_source = true;
			if (line.empty() || line[0] == '#')
				continue;
			expected.insert(line.substr(0, 5));
		}
		EXPECT_TRUE(named_source) << file << " names no source";

		holiday_rules rules;
		std::string region, error;
		ASSERT_TRUE(load_holiday_set(set, &rules, &region, &error)) << file << ": " << error;
		std::set<std::string> computed;
		for (const holiday_day& h : holidays_of_year(rules, region, year)) {
			int y, m, d;
			date_of_day_number(h.day, &y, &m, &d);
			char text[8];
			std::snprintf(text, sizeof text, "%02d-%02d", m, d);
			computed.insert(text);
		}
		std::set<std::string> missing, extra;
		for (const std::string& day : expected) {
			if (!computed.count(day))
				missing.insert(day);
		}
		for (const std::string& day : computed) {
			if (!expected.count(day))
				extra.insert(day);
		}
		EXPECT_TRUE(missing.empty() && extra.empty())
			<< set << " " << year << ": missing" << joined(missing) << "; not on the list"
			<< joined(extra);
	}
	EXPECT_GT(lists, 0);
}
