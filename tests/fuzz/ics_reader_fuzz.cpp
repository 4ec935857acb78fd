// The holiday files' reader: any bytes given as an iCalendar file are read, or refused with
// one line, within the budget, and what it says is safe to print. Read for its events, the
// file gives the same days, each with a name that is one line of valid UTF-8.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "civil_date.h"
#include "holiday_set.h"
#include "named_days.h"

namespace {

bool printable(const std::string& line)
{
	for (unsigned char c : line) {
		if (c < 0x20 || c == 0x7f)
			return false;
	}
	return true;
}

// Whether the text is well-formed UTF-8 without control characters, as QString would keep
// it unchanged.
bool one_clean_line(const std::string& text)
{
	for (size_t i = 0; i < text.size();) {
		const unsigned char lead = static_cast<unsigned char>(text[i]);
		size_t length = lead < 0x80 ? 1
			: lead < 0xc2           ? 0
			: lead < 0xe0           ? 2
			: lead < 0xf0           ? 3
			: lead < 0xf5           ? 4
									: 0;
		if (length == 0 || i + length > text.size())
			return false;
		unsigned long code = length == 1 ? lead : lead & (0x7f >> length);
		for (size_t k = 1; k < length; k++) {
			const unsigned char next = static_cast<unsigned char>(text[i + k]);
			if ((next & 0xc0) != 0x80)
				return false;
			code = (code << 6) | (next & 0x3f);
		}
		const unsigned long smallest[] = {0, 0, 0x80, 0x800, 0x10000};
		if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)
			|| code < 0x20 || (code >= 0x7f && code <= 0x9f))
			return false;
		i += length;
	}
	return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	// A zone far from UTC, so that the conversions of times to local dates are at work.
	setenv("TZ", "Asia/Tokyo", 1);
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	const std::string path = fuzz::ScratchFolder() + "/input.ics";
	{
		std::ofstream file(path, std::ios::binary | std::ios::trunc);
		file.write(reinterpret_cast<const char*>(data), std::streamsize(size));
	}
	holiday_set set(2027);
	std::string error;
	const bool read = set.add(path, &error);
	if (fuzz::Verbose())
		std::fprintf(stderr, "%s, %d days, %zu notes\n", read ? "read" : error.c_str(), set.count(),
			set.notes().size());
	fuzz::Require(read == error.empty(), "a refusal, and only a refusal, has a message");
	fuzz::Require(read || set.count() == 0, "a refused file marks nothing");
	fuzz::Require(printable(error), "the message is safe to print");
	fuzz::Require(
		error.empty() || error.compare(0, path.size(), path) == 0, "the message names the file");
	for (const std::string& note : set.notes()) {
		fuzz::Require(printable(note), "a note is safe to print");
		fuzz::Require(note.compare(0, path.size() + 1, path + ":") == 0, "a note names the file");
	}

	std::vector<named_day> events;
	std::vector<std::string> notes;
	std::string eventError;
	ics_budget budget;
	if (!read_ics_events(path, 2027, &budget, &events, &notes, &eventError))
		return 0;
	year_days days;
	for (const named_day& event : events) {
		fuzz::Require(one_clean_line(event.name), "an event's name is one line of UTF-8");
		fuzz::Require(event.name.size() <= kMaxEventName, "an event's name is cut to size");
		days.set(size_t(day_of_year(2027, event.month, event.day) - 1));
	}
	fuzz::Require(
		!read || days == set.days(), "the events cover the days that the file's holidays mark");
	return 0;
}
