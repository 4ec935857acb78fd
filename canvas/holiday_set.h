// The holidays that the calendar marks in the year it shows, gathered from one or more
// sources: the public holidays of a country or region by its rule file, or iCalendar files
// of the user's own.
#pragma once

#include <bitset>
#include <string>
#include <vector>

#include "ics_budget.h"

// One bit per day of a year: bit 0 for 1 January, bit 365 only in a leap year.
typedef std::bitset<366> year_days;

// Whether holiday_set::add takes the source for a set's name rather than for a file's
// path: a word without '.' or '/' that names no file.
bool names_a_rule_set(const std::string& source);

class holiday_set {
public:
	// An empty set for the year: no holidays until sources are added.
	explicit holiday_set(int year);

	int year() const { return fYear; }

	// Adds the holidays of a source to the set:
	//   "jp", "de", "de-by" (any case)
	//           the public holidays of a country or of one of its regions, by the rule file
	//           data/holidays/<cc>.rules (none outside the years the file covers); "jp",
	//           Japan's, is the program's default;
	//   "none"  no holidays: adds nothing, so that a caller can name it like the others;
	//   other   the path of an iCalendar file, whose events' dates in the year are holidays
	//           (a word without '.' or '/' that names no file is taken for a set's name).
	// Sources combine: every date that any of them marks is a holiday. On failure the set
	// is left as it was, the result is false, and error receives one line of text (no
	// program name, no newline) that names the file and, where there is one, the line:
	// "family.ics:12: ..." or "family.ics: ...". The files added to one set share one
	// budget (ics_budget.h): together they cost no more than one large file.
	bool add(const std::string& source, std::string* error);

	// What was left out of the files that were added, one line each ("family.ics:12: ..."):
	// events and time zones that could not be read.
	const std::vector<std::string>& notes() const { return fNotes; }

	// Whether the date is a holiday: false for a date of another year or one that does not
	// exist.
	bool is_holiday(int year, int month, int day) const;

	// The number of holidays in the year.
	int count() const { return int(fDays.count()); }

	// All the year's holidays, by day of the year.
	const year_days& days() const { return fDays; }

private:
	int fYear;
	year_days fDays;
	ics_budget fBudget;
	std::vector<std::string> fNotes;
};
