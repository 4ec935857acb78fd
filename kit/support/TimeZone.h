// A time zone of the IANA database (Europe/Berlin, Asia/Tokyo), as the system's zone data
// describes it.
#pragma once

#include <memory>

#include "SupportDefs.h"

class BTimeZone {
public:
	explicit BTimeZone(const char* zoneID);
	~BTimeZone();

	// B_OK for a zone the system knows, B_BAD_VALUE otherwise.
	status_t InitCheck() const;

	// The zone's standard offset from UTC in seconds (summer time left out) at the instant,
	// given in seconds since 1970-01-01 00:00 UTC; 0 for a zone that failed InitCheck.
	int32 StandardOffsetAt(int64 utcSeconds) const;

private:
	struct Data;
	std::unique_ptr<Data> fData;
};
