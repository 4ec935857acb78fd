// Reads the pixels of a picture in place, without a copy: the kit hands the program its
// pictures as B_RGB32 (bytes blue, green, red, alpha in memory, rows padded to
// BytesPerRow()). A bitmap of another colour space reads as an empty picture.
#pragma once

#include <cstddef>

#include "Bitmap.h"

class picture_pixels {
public:
	explicit picture_pixels(const BBitmap* picture)
	{
		if (picture == nullptr || picture->Bits() == nullptr
			|| (picture->ColorSpace() != B_RGB32 && picture->ColorSpace() != B_RGBA32))
			return;
		fBits = static_cast<const uint8*>(picture->Bits());
		fBytesPerRow = size_t(picture->BytesPerRow());
		fWidth = int(picture->PixelWidth());
		fHeight = int(picture->PixelHeight());
	}

	int width() const { return fWidth; }
	int height() const { return fHeight; }
	bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < fWidth && y < fHeight; }

	// The pixel at (x, y), which must be inside, as 0xRRGGBB.
	uint32 at(int x, int y) const
	{
		const uint8* pixel = fBits + size_t(y) * fBytesPerRow + size_t(x) * 4;
		return uint32(pixel[2]) << 16 | uint32(pixel[1]) << 8 | pixel[0];
	}

private:
	const uint8* fBits = nullptr;
	size_t fBytesPerRow = 0;
	int fWidth = 0;
	int fHeight = 0;
};
