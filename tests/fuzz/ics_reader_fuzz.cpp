// The holiday files' reader: any bytes given as an iCalendar file are read, or refused with
// one line, within the budget, and what it says is safe to print.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "FuzzSupport.h"
#include "holiday_set.h"

namespace {

bool printable(const std::string& line)
{
	for (unsigned char c : line) {
		if (c < 0x20 || c == 0x7f)
			return false;
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
	return 0;
}
