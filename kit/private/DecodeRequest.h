// What the kit's decoders are asked for besides the whole picture, and what they tell of
// it: the ioExtension fields of TranslationDefs.h, read and written in one place.
#pragma once

#include "SupportDefs.h"

class BMessage;

namespace kit {

struct DecodeRequest {
	// Only the size and the facts: the destination gets the bitmap stream header alone.
	bool headerOnly = false;
	// A smaller picture will do, at least leastWidth x leastHeight upright (0: no bound).
	bool reduce = false;
	int32 leastWidth = 0;
	int32 leastHeight = 0;
};

struct DecodeReport {
	int32 width = 0; // of the bitmap, upright
	int32 height = 0;
	int32 dateTaken = 0; // YYYYMMDD; 0 when the file names no day
};

// The request of an ioExtension message, which may be null (the whole picture).
DecodeRequest ReadDecodeRequest(const BMessage* ioExtension);

// Puts the report into the ioExtension message, when there is one.
void WriteDecodeReport(const DecodeReport& report, BMessage* ioExtension);

// Year, month and day as the number YYYYMMDD; 0 when year is 0.
int32 DateNumber(int32 year, int32 month, int32 day);

} // namespace kit
