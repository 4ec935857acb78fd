// The cost of holiday sets, for case 9 of scripts/bench.sh:
//   holiday_bench RULES_FOLDER SET RUNS
// holiday_startup_ms: what `--holidays SET` adds to a program's start: checking the set
// (reading its rule file) and building the calendar's year 2027 from it (reading the file
// again and computing the year); holiday_startup_first_ms: the same the first time in the
// process, as a program's start meets it (the system's zone data and the C++ streams not
// yet set up). holiday_year_ms: computing one year (2027) of a set from
// rules already read, for the slowest of every set in the folder, named by
// holiday_year_slowest. Each figure is the median of RUNS runs, in milliseconds.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchClock.h"
#include "calendar_options.h"
#include "calendar_settings.h"
#include "holiday_catalogue.h"
#include "holiday_engine.h"

int main(int argc, char** argv)
{
	if (argc != 4) {
		std::fprintf(stderr, "usage: holiday_bench RULES_FOLDER SET RUNS\n");
		return 2;
	}
	setenv("DORVA_HOLIDAY_RULES", argv[1], 1);
	const std::string set = argv[2];
	const int runs = std::max(1, std::atoi(argv[3]));

	calendar_options options;
	options.year = 2027;
	options.holidays = {set};
	bool ok = true;
	auto start = [&] {
		std::string error;
		std::vector<std::string> errors;
		calendar_settings settings;
		ok = check_holiday_sets(options, &error)
			&& settings.set(options.year, options.holidays, options.start, &errors) && ok;
	};
	const double first = median_ms(1, start);
	const double startup = median_ms(runs, start);
	if (!ok) {
		std::fprintf(stderr, "holiday_bench: the set %s cannot be read\n", set.c_str());
		return 1;
	}
	std::printf("holiday_startup_first_ms %.4f\nholiday_startup_ms %.4f\n", first, startup);

	std::vector<std::string> errors;
	double slowest = 0;
	std::string slowestName;
	for (const holiday_set_info& info : list_holiday_sets(&errors)) {
		holiday_rules rules;
		std::string region, error;
		if (!load_holiday_set(info.name, &rules, &region, &error))
			continue;
		const double ms = median_ms(runs, [&] { holidays_of_year(rules, region, 2027); });
		if (ms > slowest) {
			slowest = ms;
			slowestName = info.name;
		}
	}
	for (const std::string& error : errors)
		std::fprintf(stderr, "holiday_bench: %s\n", error.c_str());
	std::printf("holiday_year_ms %.4f\nholiday_year_slowest %s\n", slowest, slowestName.c_str());
	return 0;
}
