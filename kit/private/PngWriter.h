// Writing the rows of a bitmap stream as a PNG file, quickly.
//
// The image plug-in writes PNG at zlib's default level with every row filter tried, which
// for a photograph of 24 megapixels takes seconds. This writer takes one filter (Up) and
// zlib's fastest level: on photographs the file comes out about as small, in a fraction of
// the time (scripts/bench.sh, case 7). It reads the source a row at a time and writes as it
// goes, so it holds two rows and a buffer of compressed data, never the whole picture, and
// how far it has read the source is how far it has come.
#pragma once

#include "DataIO.h"
#include "TranslationDefs.h"

namespace kit {

// Reads the rows of the bitmap stream whose header was just peeked at the source's position
// and writes them to destination as an 8-bit PNG: RGB, or RGB with alpha for B_RGBA32 (the
// only colour space whose fourth byte means something). The destination's own failure
// status is passed on; B_NO_MEMORY when the compressor cannot be had.
status_t WritePng(BPositionIO* source, const TranslatorBitmap& header, BPositionIO* destination);

} // namespace kit
