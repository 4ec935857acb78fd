// Holidays read from an iCalendar (.ics) file: birthdays, anniversaries, a family's days
// off.
#pragma once

#include <string>
#include <vector>

#include "holiday_set.h"
#include "ics_budget.h"

// Reads the events of the file at path and marks in days each date of the year that one of
// them covers, as a calendar program shows it:
// - an all-day event covers its days from DTSTART up to, not including, DTEND (or DTSTART
//   plus DURATION), one day without either, into the next year too;
// - a timed event covers the dates from its start to its end in the local time zone (TZ, or
//   the system's), its times taken in the zone that its TZID names (the file's VTIMEZONE,
//   else the system's zone database), in UTC, or without a zone as local times;
// - a recurring event covers the days of each occurrence that its RRULEs and RDATEs give,
//   less its EXDATEs; an occurrence that an event with the same UID and a RECURRENCE-ID
//   replaces covers the days of that event instead;
// - cancelled events and occurrences (STATUS:CANCELLED) cover nothing.
// An event or time zone that cannot be read is left out and a line that names the file and
// line is added to notes ("path:12: ..."); the rest of the file is used. Returns false,
// days untouched, when the file is no iCalendar file, cannot be read, or goes beyond the
// budget, which all the files of one calendar share; error then holds one such line.
bool read_ics_holidays(const std::string& path, int year, ics_budget* budget, year_days* days,
	std::vector<std::string>* notes, std::string* error);

// The text with every control character (a newline, an escape sequence's start) replaced
// by '?', so that a message quoting a file's name or contents is safe to print.
std::string printable_text(std::string text);
