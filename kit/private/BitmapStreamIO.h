// Reading and writing the bitmap stream format through streams, for the translators.
#pragma once

#include <functional>

#include "DataIO.h"
#include "TranslationDefs.h"

namespace kit {

// Writes all size bytes, going on after short writes. B_IO_ERROR when the stream takes
// no more, or the stream's own negative status.
status_t WriteAll(BPositionIO* destination, const void* data, size_t size);

// Reads exactly size bytes at position. B_ILLEGAL_DATA when the stream ends before.
status_t ReadExactly(BPositionIO* source, off_t position, void* data, size_t size);

// Looks at the header at the source's current position without moving it. B_OK when it is
// a bitmap stream header that passes CheckBitmapHeader; B_NO_TRANSLATOR when the data is
// not in the bitmap stream format at all; the check's status when the header is bad.
status_t PeekBitmapHeader(BPositionIO* source, TranslatorBitmap* header);

// Reads the rows of the bitmap stream whose header was just peeked at the source's
// position, each converted to B, G, R, A bytes, and hands them to takeRow in order. Stops
// at the first failure, of the read or of takeRow; after the last row the source stands
// past the data.
using BGRARowTaker = std::function<status_t(int32 y, const uint8* bgra)>;
status_t ReadBGRARows(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowTaker& takeRow);

// Writes the header for a width x height B_RGB32 bitmap at (0, 0).
status_t WriteRGB32Header(BPositionIO* destination, int32 width, int32 height);

} // namespace kit
