// The largest bitmaps the kit agrees to hold. Bitmaps come from files that anyone may have
// crafted, so their size is checked against these limits before any memory is set aside.
#pragma once

#include "SupportDefs.h"

namespace kit {

// Pixels along either side.
const int32 kMaxBitmapSide = 32768;
// Bytes of pixel data, padding included.
const int64 kMaxBitmapBytes = int64(1) << 30;

} // namespace kit
