// The holiday sets that rule files give: "de" for a country, "de-by" for one of its regions.
// The files are looked for in the folder named by DORVA_HOLIDAY_RULES, else in
// share/dorva/holidays beside the program's folder (installed: bin/../share, or
// lib/dorva/../../share for the localized program), else in a holidays folder beside the
// program (the build tree).
#pragma once

#include <string>
#include <vector>

#include "holiday_rules.h"

// The folder the rule files are read from.
std::string holiday_rules_folder();

// Whether the text has the shape of a set's name: two letters, then perhaps '-' and one
// to three letters or digits.
bool looks_like_set_name(const std::string& name);

// Reads the rules of the named set (any case) into rules and its region, upper case, into
// region ("" for the whole country). On failure, false and one line in error: the file's
// fault with its line, or, for a set that no file gives, the nearest known names.
bool load_holiday_set(
	const std::string& name, holiday_rules* rules, std::string* region, std::string* error);

struct holiday_set_info {
	std::string name;  // "de", "de-by"
	std::string title; // "Germany (Deutschland)", "Bavaria (Bayern), Germany"
	int first_year, last_year;
};

// Every set of every rule file in the folder, in order of name; a file that cannot be read
// adds its message to errors and no set.
std::vector<holiday_set_info> list_holiday_sets(std::vector<std::string>* errors);
