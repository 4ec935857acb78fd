// What reading holiday files may cost in one run, shared by all the files read for one
// calendar, so that many files cost no more than one large one.
#pragma once

#include <chrono>
#include <cstddef>

struct ics_budget {
	// The bytes of all the files together. A year of holidays and birthdays takes a few
	// kilobytes, the export of a whole personal calendar a few megabytes.
	size_t bytes = 8 * 1024 * 1024;
	// The work of following recurrence rules and time zones, in units of about a
	// microsecond of the library's time: a rule costs kRuleWork, each occurrence it gives
	// kOccurrenceWork, each zone of the system's database kSystemZoneWork (and a name looked
	// for there in vain kZoneLookupWork); a yearly rule of one date, followed without the
	// library, kPlainWork a year.
	long work = 500000;
	// And, as a last resort against a rule that the library follows far slower than its
	// work says, the time spent following them.
	std::chrono::steady_clock::duration time = std::chrono::milliseconds(600);

	static constexpr long kRuleWork = 200;
	static constexpr long kOccurrenceWork = 20;
	static constexpr long kSystemZoneWork = 20000;
	static constexpr long kZoneLookupWork = 50;
	static constexpr long kPlainWork = 1;

	bool spent() const { return work < 0 || time.count() < 0; }
};
