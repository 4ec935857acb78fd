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

// B_OK unless the source knows its size and does not hold all the rows that the bitmap
// stream header just peeked at its position promises (B_ILLEGAL_DATA).
status_t CheckRowsArrived(BPositionIO* source, const TranslatorBitmap& header);

// Reads the rows of the bitmap stream whose header was just peeked at the source's
// position, each converted to B, G, R, A bytes into the memory that rowFor gives for it, in
// order. Nothing is set aside for rows before they have arrived: the rows are checked
// with CheckRowsArrived first, and a row's padding is skipped rather than read. Stops at the first failure; after the last row the source
// stands past the data.
using BGRARowFor = std::function<uint8*(int32 y)>;
status_t ReadRowsAsBGRA(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowFor& rowFor);

// The same, handing each row to takeRow instead. Stops at the first failure, of the read
// or of takeRow.
using BGRARowTaker = std::function<status_t(int32 y, const uint8* bgra)>;
status_t ReadBGRARows(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowTaker& takeRow);

// Writes the header for a width x height B_RGB32 bitmap at (0, 0).
status_t WriteRGB32Header(BPositionIO* destination, int32 width, int32 height);

} // namespace kit
