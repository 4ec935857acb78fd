// Resampling a part of a bitmap to a new size: a photo made fit for the size it is printed
// at. Shrinking averages every source pixel that falls into a new one (never dropping
// any, so fine patterns turn into their mean instead of breaking into blocks or moiré);
// enlarging interpolates between neighbours.
#pragma once

#include "Bitmap.h"

// A new B_RGB32 bitmap of width x height pixels holding the part source of bitmap,
// stretched to fill it. Like a bitmap's bounds, source is in the bitmap's coordinates and
// covers Width() + 1 by Height() + 1 pixels from its left top corner (bitmap->Bounds() is
// all of it); its sides may fall between pixels, which then count in part, and land within
// a pixel of the new bitmap of where they belong. What of source lies outside the bitmap is
// cut off first. B_RGB32, B_RGBA32 (whose alpha is ignored),
// B_RGB24 and B_GRAY8 bitmaps are read. Null when the bitmap cannot be read, source holds
// none of it, the size is not positive or the new bitmap cannot be allocated; the caller
// owns the result.
BBitmap* resample_bitmap(const BBitmap* bitmap, BRect source, int32 width, int32 height);
