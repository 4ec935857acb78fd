// The rules of one country's public holidays, as its rule file (data/holidays/<cc>.rules)
// writes them; data/holidays/README.md describes the language.
#pragma once

#include <climits>
#include <string>
#include <utility>
#include <vector>

// A date that a rule gives in each year, with its offset in days.
struct rule_date {
	enum kind_t {
		FIXED,    // month/day every year
		ONCE,     // year/month/day
		NTH,      // the n-th weekday of the month
		LAST,     // the last weekday of the month
		AFTER,    // the first weekday on or after month/day
		BEFORE,   // the last weekday on or before month/day
		EASTER,   // Western Easter Sunday
		ORTHODOX, // Orthodox Easter Sunday
		MARCH_EQUINOX,
		JUNE_SOLSTICE,
		SEPTEMBER_EQUINOX,
		DECEMBER_SOLSTICE,
		LUNAR, // month/day of the Korean lunisolar calendar
	};
	kind_t kind = FIXED;
	int year = 0, month = 0, day = 0;
	int weekday = 0; // 0 = Sunday to 6 = Saturday
	int n = 0;
	int offset = 0;
};

// A substitute rule's step: when the trigger holds, the target is taken.
struct substitute_step {
	enum trigger_t { SAT, SUN, WEEKEND, CLASH } trigger;
	enum target_t { FRI, MON, PREV, NEXT } target;
};

// The days (counted from 1970-01-01) from which and to which a rule holds, inclusive.
struct day_range {
	long first = LONG_MIN;
	long last = LONG_MAX;
	bool holds(long day) const { return day >= first && day <= last; }
};

struct holiday_rule {
	int line = 0;
	rule_date date;
	day_range range;
	std::vector<std::string> regions; // with `in` or `except`; empty: everywhere
	bool except = false;
	unsigned weekdays = 0; // with `if`: a bit per weekday on which the date counts
	bool has_else = false;
	rule_date else_date;
	// The line's own substitutes or moves; without either the country's defaults hold,
	// unless the line says `observe none`.
	std::vector<substitute_step> observe;
	std::vector<substitute_step> move;
	bool own_substitutes = false;
	std::string local_name, english_name;
	std::vector<std::pair<std::string, std::string>> translations; // language, name
};

struct substitute_default {
	std::vector<substitute_step> steps;
	day_range range;
};

struct bridge_default {
	unsigned except_weekdays = 0;
	day_range range;
};

// The name a file gives all its substitute days, or all its bridge days; empty when it
// gives none.
struct day_name {
	std::string local_name, english_name;
	std::vector<std::pair<std::string, std::string>> translations; // language, name
	bool empty() const { return local_name.empty(); }
};

struct holiday_region {
	std::string code, local_name, english_name;
};

struct holiday_rules {
	std::string code; // upper case, "DE"
	std::string local_name, english_name;
	std::vector<std::string> sources;
	std::string zone;
	int first_year = 0, last_year = 0;
	std::vector<holiday_region> regions;
	std::vector<holiday_rule> rules;
	std::vector<substitute_default> substitutes;
	std::vector<bridge_default> bridges;
	day_name substitute_name, bridge_name;
};

// Reads a rule file's text; file_name is only for the message. On any fault the result is
// false and error holds one line naming the file and the line: "de.rules:12: ...".
bool parse_holiday_rules(const std::string& text, const std::string& file_name,
	holiday_rules* rules, std::string* error);

// Reads the rule file at path (at most a megabyte), as parse_holiday_rules.
bool read_holiday_rules(const std::string& path, holiday_rules* rules, std::string* error);
