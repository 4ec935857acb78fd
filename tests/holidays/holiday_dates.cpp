// Prints the holidays of a set in one or more years, one line per holiday:
//   holiday_dates SET YEAR [LAST_YEAR]
// "2025-01-01  New Year's Day (Neujahr)". The rule files are read from DORVA_HOLIDAY_RULES.
// A rule file with a fault is refused: its message ("de.rules:12: ...") and exit status 1.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "civil_date.h"
#include "holiday_catalogue.h"
#include "holiday_engine.h"

int main(int argc, char** argv)
{
	if (argc < 3 || argc > 4) {
		std::fprintf(stderr, "usage: holiday_dates SET YEAR [LAST_YEAR]\n");
		return 2;
	}
	const int first = std::atoi(argv[2]);
	const int last = argc == 4 ? std::atoi(argv[3]) : first;
	if (first < 1 || last < first || last > 9999) {
		std::fprintf(stderr, "holiday_dates: the years are not a range\n");
		return 2;
	}

	holiday_rules rules;
	std::string region, error;
	if (!load_holiday_set(argv[1], &rules, &region, &error)) {
		std::fprintf(stderr, "%s\n", error.c_str());
		return 1;
	}
	for (int year = first; year <= last; year++) {
		for (const holiday_day& h : holidays_of_year(rules, region, year)) {
			int y, m, d;
			date_of_day_number(h.day, &y, &m, &d);
			std::string name;
			if (h.rule == nullptr)
				name = "Bridge day between two holidays";
			else if (h.substitute)
				name = "Substitute for " + h.rule->english_name + " (" + h.rule->local_name + ")";
			else
				name = h.rule->english_name + " (" + h.rule->local_name + ")";
			std::printf("%04d-%02d-%02d  %s\n", y, m, d, name.c_str());
		}
	}
	return 0;
}
