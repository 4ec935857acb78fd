// The 32-byte header of the bitmap stream format: magic 'bits', the bounds as four IEEE
// floats, bytes per row, colour space and data size, every field big-endian. The header
// is checked against what it claims before anyone allocates memory for the data.
#pragma once

#include "Bitmap.h"
#include "TranslationDefs.h"

namespace kit {

void EncodeBitmapHeader(
	const TranslatorBitmap& header, uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE]);
void DecodeBitmapHeader(
	const uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE], TranslatorBitmap* header);

// The header describing a valid bitmap as it lies in memory.
TranslatorBitmap HeaderForBitmap(const BBitmap& bitmap);

// B_OK when the header describes data that a bitmap can hold: the magic, finite integral
// bounds with right >= left and bottom >= top, at most kMaxBitmapSide pixels a side, a
// colour space the kit converts, rows at least as long as their pixels, and a data size
// of exactly rows times height within kMaxBitmapBytes. B_BAD_VALUE, B_BAD_TYPE or
// B_NO_MEMORY (too large) otherwise.
status_t CheckBitmapHeader(const TranslatorBitmap& header);

// Width and height in pixels of a header that passed the check.
int32 HeaderWidth(const TranslatorBitmap& header);
int32 HeaderHeight(const TranslatorBitmap& header);

// Whether the bytes start with the bitmap stream magic.
bool HasBitmapMagic(const uint8* bytes, size_t length);

} // namespace kit
