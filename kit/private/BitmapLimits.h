// The largest pictures the kit agrees to decode and hold, in one place. Pictures come from
// files that anyone may have crafted, so every decoder checks the size a file claims
// against these limits before it sets any memory aside for the pixels.
//
// - No bitmap is wider or taller than kMaxBitmapSide pixels, nor holds more than
//   kMaxBitmapBytes of pixel data (268 Mpixel at 4 bytes a pixel). A 200-megapixel
//   photo (16320 x 12240, 800 MB) fits.
// - A picture of up to kOrdinaryPixels pixels (64 Mpixel, 8192 x 8192) always opens,
//   however well it compresses: a picture of a single colour included.
// - A larger raster picture opens only if its file holds at least one byte for every
//   kMaxPixelsPerFileByte pixels. Real photos need several bits a pixel; what claims more
//   pixels from fewer bytes is a decompression bomb (a PNG of a few hundred KB that
//   unpacks to a gigabyte) and is refused.
// - A vector picture (SVG) has no pixels of its own, and a file of a hundred bytes may
//   declare any size: it is drawn at the size it declares when that is within
//   kMaxVectorPixels (16 Mpixel, 4096 x 4096, more than a screen shows) and
//   kMaxBitmapSide, and otherwise scaled down, keeping its proportions, to the largest size
//   within them.
#pragma once

#include <algorithm>
#include <cmath>

#include "Errors.h"
#include "SupportDefs.h"

namespace kit {

// Pixels along either side.
const int32 kMaxBitmapSide = 32768;
// Bytes of pixel data, padding included.
const int64 kMaxBitmapBytes = int64(1) << 30;
// Pictures up to this size open whatever their files hold.
const int64 kOrdinaryPixels = int64(64) << 20;
// Above kOrdinaryPixels, the most pixels a file may claim per byte of it.
const int64 kMaxPixelsPerFileByte = 100;
// The most pixels a vector picture is drawn with.
const int64 kMaxVectorPixels = int64(16) << 20;
// Bytes a decoded pixel takes (B_RGB32).
const int64 kDecodedPixelBytes = 4;

// B_OK when a raster picture of width x height pixels, decoded from a file of fileBytes
// bytes (-1: not known, which counts as a small file), may be decoded; B_NO_MEMORY when
// the limits above refuse it, B_BAD_VALUE for a size that is no picture.
inline status_t CheckPictureSize(int64 width, int64 height, int64 fileBytes)
{
	if (width <= 0 || height <= 0)
		return B_BAD_VALUE;
	if (width > kMaxBitmapSide || height > kMaxBitmapSide)
		return B_NO_MEMORY;
	int64 pixels = width * height;
	if (pixels * kDecodedPixelBytes > kMaxBitmapBytes)
		return B_NO_MEMORY;
	if (pixels <= kOrdinaryPixels)
		return B_OK;
	if (fileBytes < 0 || pixels > fileBytes * kMaxPixelsPerFileByte)
		return B_NO_MEMORY;
	return B_OK;
}

// The most pixels the limits let a file of fileBytes bytes decode to (see CheckPictureSize).
inline int64 AllowedPixels(int64 fileBytes)
{
	const int64 most = kMaxBitmapBytes / kDecodedPixelBytes;
	if (fileBytes < 0)
		return kOrdinaryPixels;
	if (fileBytes >= most / kMaxPixelsPerFileByte)
		return most;
	return std::max(kOrdinaryPixels, fileBytes * kMaxPixelsPerFileByte);
}

// The size at which to draw a vector picture that declares width x height: itself when it
// is within kMaxVectorPixels and kMaxBitmapSide, otherwise the largest size within them of
// the same proportions (each side at least one pixel).
inline void FitVectorSize(int64 width, int64 height, int32* fittedWidth, int32* fittedHeight)
{
	double scale = 1;
	if (width > kMaxBitmapSide || height > kMaxBitmapSide)
		scale = double(kMaxBitmapSide) / double(std::max(width, height));
	double pixels = double(width) * double(height) * scale * scale;
	if (pixels > double(kMaxVectorPixels))
		scale *= std::sqrt(double(kMaxVectorPixels) / pixels);
	auto fit = [scale](int64 side) {
		int64 scaled = int64(std::floor(double(side) * scale));
		return int32(std::clamp<int64>(scaled, 1, kMaxBitmapSide));
	};
	*fittedWidth = scale < 1 ? fit(width) : int32(width);
	*fittedHeight = scale < 1 ? fit(height) : int32(height);
}

} // namespace kit
