// A bitmap in memory: rows of pixels in one colour space. The program's bitmaps are
// B_RGB32, one 32-bit word per pixel, bytes B, G, R, A in memory with the alpha unused
// on screen. Rows may carry padding: always address them by BytesPerRow().
#pragma once

#include <cstddef>

#include "GraphicsDefs.h"
#include "Rect.h"

enum {
	B_BITMAP_ACCEPTS_VIEWS = 0x01,
	B_BITMAP_IS_CONTIGUOUS = 0x08,
};

class BBitmap {
public:
	// bounds must be valid and start at (0, 0) or any integer point; a size that cannot be
	// allocated leaves the bitmap without data and InitCheck() reports why. The colour
	// spaces held are B_RGB32, B_RGBA32, B_RGB24 and B_GRAY8; rows are 4-byte aligned unless
	// bytesPerRow asks for a width of its own (at least the bytes of the pixels). New
	// bitmaps are all zero bytes.
	BBitmap(
		BRect bounds, color_space space, bool acceptsViews = false, bool needsContiguous = false);
	BBitmap(BRect bounds, uint32 flags, color_space space, int32 bytesPerRow = -1);
	BBitmap(const BBitmap& other);
	BBitmap& operator=(const BBitmap&) = delete;
	virtual ~BBitmap();

	status_t InitCheck() const { return fInitStatus; }
	bool IsValid() const { return fInitStatus == B_OK; }

	BRect Bounds() const { return fBounds; }
	void* Bits() { return fBits; }
	const void* Bits() const { return fBits; }
	int32 BitsLength() const;
	int32 BytesPerRow() const { return fBytesPerRow; }
	color_space ColorSpace() const { return fColorSpace; }
	uint32 Flags() const { return fFlags; }

	// Width and height in pixels (Bounds().Width() + 1 and so on).
	int32 PixelWidth() const;
	int32 PixelHeight() const;

	// Copies length bytes of data in the given colour space into the bitmap, converting to
	// the bitmap's colour space; offset is in bytes from the start of the bitmap's data.
	// The data is laid out as a bitmap of this width in that space would be (rows of
	// RowBytesFor(space, width) bytes), starting at the pixel that offset addresses. Data
	// past the end of the bitmap is ignored.
	void SetBits(const void* data, int32 length, int32 offset, color_space space);

	// Bytes per pixel row, 4-byte aligned, for a width in pixels in a colour space; 0 if
	// unknown.
	static int32 RowBytesFor(color_space space, int32 width);
	// Bits per pixel in a colour space; 0 if unknown.
	static int32 BitsPerPixel(color_space space);

private:
	void _Allocate(BRect bounds, color_space space, int32 bytesPerRow);

	BRect fBounds;
	uint32 fFlags;
	color_space fColorSpace;
	int32 fBytesPerRow;
	uint8* fBits;
	size_t fMappedLength; // bytes mapped from the system for fBits; 0 when on the heap
	status_t fInitStatus;
};
