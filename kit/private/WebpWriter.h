// Writing a bitmap stream as a WebP file with libwebp, holding at most one copy of the
// picture.
//
// The image plug-in converts the picture into a copy of its own (RGB) and then into the
// encoder's (ARGB) before the encoder converts it once more: three copies beside the bitmap
// for a large photograph. This writer hands the encoder the bitmap where it lies (or, for a
// stream that is no whole bitmap, one copy of its rows), which the encoder turns straight
// into its own form (YUV 4:2:0, a byte and a half a pixel), and the file goes out as it is
// made. Lossy at quality 75, as the plug-in writes it by default.
#pragma once

#include "DataIO.h"
#include "TranslationDefs.h"

namespace kit {

// Writes the rows of the bitmap stream whose header was just peeked at the source's
// position to destination as a WebP file, with alpha for B_RGBA32. The destination's own
// failure status is passed on; B_ILLEGAL_DATA for a picture larger than WebP holds
// (16383 pixels a side), B_NO_MEMORY when the encoder's memory cannot be had.
status_t WriteWebp(BPositionIO* source, const TranslatorBitmap& header, BPositionIO* destination);

} // namespace kit
