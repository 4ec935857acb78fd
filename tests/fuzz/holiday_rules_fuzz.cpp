// A holiday rule file as anyone may write one: it is read whole or refused with one line
// that names the line at fault, and the year a read file gives holds only days of that
// year, in order.
#include <algorithm>
#include <string>

#include "FuzzSupport.h"
#include "civil_date.h"
#include "holiday_engine.h"
#include "holiday_rules.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	holiday_rules rules;
	std::string error;
	if (!parse_holiday_rules(text, "fuzz.rules", &rules, &error)) {
		fuzz::Require(error.rfind("fuzz.rules:", 0) == 0, "a fault names the file");
		fuzz::Require(error.find('\n') == std::string::npos, "a fault is told in one line");
		fuzz::Require(rules.code.empty() && rules.rules.empty(), "a refused file gives nothing");
		return 0;
	}
	fuzz::Require(!rules.code.empty() && !rules.sources.empty(), "a read file is whole");

	std::vector<std::string> regions{""};
	for (size_t i = 0; i < rules.regions.size() && i < 3; i++)
		regions.push_back(rules.regions[i].code);
	for (int year : {rules.first_year, (rules.first_year + rules.last_year) / 2, rules.last_year}) {
		for (const std::string& region : regions) {
			const std::vector<holiday_day> days = holidays_of_year(rules, region, year);
			const long first = day_number(year, 1, 1), last = day_number(year, 12, 31);
			for (size_t i = 0; i < days.size(); i++) {
				fuzz::Require(days[i].day >= first && days[i].day <= last, "a day of the year");
				fuzz::Require(i == 0 || days[i - 1].day <= days[i].day, "days in order");
				fuzz::Require(days[i].rule != nullptr || days[i].substitute, "a day has a rule");
			}
		}
	}
	return 0;
}
