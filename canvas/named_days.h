// The days of a year with their names, for the lists that a wall calendar prints under its
// months: the holidays of its sets and files, and the events of the user's calendar files.
#pragma once

#include <string>
#include <vector>

#include "ics_budget.h"

struct named_day {
	int month, day;
	std::string name;
};

// The longest name an event keeps, in bytes.
const size_t kMaxEventName = 200;
// How many events one day keeps; a file with more on a day is noted.
const size_t kMaxEventsOnOneDay = 100;

// Sets days to the holidays of the sources in the year, each source as holiday_set::add
// takes it ("de", "de-by", "none", the path of an iCalendar file), named in the language
// ("de", "de_AT", "ja"; the region and any codeset are passed over). From a rule file: the
// line's translation for the language where it has one, its English name for "en", else its
// local name; substitute and bridge days are named as data/holidays/README.md says, and a
// bridge day that the file gives no name has an empty one. From an iCalendar file: each
// event's SUMMARY, as read_ics_events gives it. In date order, within a day in the order of
// the sources and of their lines; one entry per name per day. What was left out of the
// files is added to notes. On failure days and notes are left as they were, the result is
// false and error holds one line, as holiday_set::add's.
bool named_holidays(const std::vector<std::string>& sources, int year, const std::string& language,
	std::vector<named_day>* days, std::vector<std::string>* notes, std::string* error);

// Sets events to the events of the iCalendar file at path in the year: each day that an
// event covers as read_ics_days reads the file (recurrences expanded, so that a birthday
// with RRULE:FREQ=YEARLY appears every year), with the event's SUMMARY as one line of valid
// UTF-8 of at most kMaxEventName bytes (ics_text_line), "" for an event without one. In
// date order, within a day in the order of the file; one entry per name per day, at most
// kMaxEventsOnOneDay a day. Notes, failure and budget as read_ics_holidays; on failure
// events is left as it was.
bool read_ics_events(const std::string& path, int year, ics_budget* budget,
	std::vector<named_day>* events, std::vector<std::string>* notes, std::string* error);
