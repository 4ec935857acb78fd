// The one reading of iCalendar (.ics) files: which days of a year each event covers. The
// holidays of a file and its events, with their summaries, are both read through it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ics_budget.h"

// An event as the reader hands it on, with each day it covers.
struct ics_event {
	int line;                   // where its BEGIN:VEVENT stands
	const std::string* summary; // its SUMMARY's value as the file writes it; null without one
};

// Called for each day (counted from 1970-01-01) of the year that an event covers, once for
// each of its occurrences that covers the day.
typedef std::function<void(long day, const ics_event& event)> ics_day_visitor;

// Reads the events of the file at path and hands each day of the year that one of them
// covers to covered, as a calendar program shows it:
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
// line is added to notes ("path:12: ..."); the rest of the file is used. Returns false when
// the file is no iCalendar file, cannot be read, or goes beyond the budget, which all the
// files of one calendar share; error then holds one such line, and covered may have been
// called for some days, which the caller then drops.
bool read_ics_days(const std::string& path, int year, ics_budget* budget,
	const ics_day_visitor& covered, std::vector<std::string>* notes, std::string* error);
