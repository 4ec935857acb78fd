// Holidays read from an iCalendar (.ics) file: birthdays, anniversaries, a family's days
// off.
#pragma once

#include <string>

#include "holiday_set.h"

// Reads the events of the file at path and marks in days each date of the year on which
// one of them starts: its own start date, and the dates its recurrence rules and extra
// dates give (a yearly birthday from an earlier year included), less its excluded dates.
// Dates are taken as the file writes them, without converting between time zones.
// Returns true when the whole file was read; otherwise false, days untouched, and error
// holds one line that names the file and, where the fault lies on a line, its number
// ("path:12: ..."). The work is bounded: files larger than a few megabytes, lines or
// nesting beyond reason, and recurrences that would take too long to expand are refused.
bool read_ics_holidays(const std::string& path, int year, year_days* days, std::string* error);

// The text with every control character (a newline, an escape sequence's start) replaced
// by '?', so that a message quoting a file's name or contents is safe to print.
std::string printable_text(std::string text);
