// Holidays read from an iCalendar (.ics) file: birthdays, anniversaries, a family's days
// off.
#pragma once

#include <string>
#include <vector>

#include "holiday_set.h"
#include "ics_budget.h"

// Marks in days each date of the year that an event of the file at path covers, read as
// read_ics_days (ics_reader.h) reads it, with its notes and its one line of error. On
// failure days are left untouched.
bool read_ics_holidays(const std::string& path, int year, ics_budget* budget, year_days* days,
	std::vector<std::string>* notes, std::string* error);

// The text with every control character (a newline, an escape sequence's start) replaced
// by '?', so that a message quoting a file's name or contents is safe to print.
std::string printable_text(std::string text);
