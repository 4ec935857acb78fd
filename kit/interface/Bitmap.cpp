#include "Bitmap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <sys/mman.h>

#include "BitmapLimits.h"
#include "PixelConversion.h"

namespace {

const int64 kBitsPerByte = 8;
// Rows are padded to whole 32-bit words.
const int64 kRowAlignment = 4;
// Pixels of this many bytes or more get memory of their own from the system, in huge pages
// where it has them: a picture's pages then fault in 2 MiB at a time instead of 4 KiB, and
// are given back whole when the bitmap goes. Smaller bitmaps come from the heap.
const size_t kHugePageBytes = size_t(2) << 20;

// Maps length zeroed bytes starting on a huge page boundary; null when the system refuses.
// The memory is committed page by page as it is first written, not up front.
uint8* map_pixels(size_t length)
{
	size_t padded = length + kHugePageBytes;
	void* mapped = mmap(nullptr, padded, PROT_READ | PROT_WRITE,
		MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
	if (mapped == MAP_FAILED)
		return nullptr;
	uintptr_t start = reinterpret_cast<uintptr_t>(mapped);
	uintptr_t aligned = (start + kHugePageBytes - 1) & ~uintptr_t(kHugePageBytes - 1);
	size_t head = aligned - start;
	size_t tail = padded - head - length;
	if (head > 0)
		munmap(mapped, head);
	if (tail > 0)
		munmap(reinterpret_cast<void*>(aligned + length), tail);
	// Only advice: without transparent huge pages the memory is simply in small pages.
	madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
	return reinterpret_cast<uint8*>(aligned);
}

} // namespace

BBitmap::BBitmap(BRect bounds, color_space space, bool acceptsViews, bool needsContiguous)
	: fBounds(), fFlags((acceptsViews ? B_BITMAP_ACCEPTS_VIEWS : 0)
					 | (needsContiguous ? B_BITMAP_IS_CONTIGUOUS : 0)),
	  fColorSpace(space), fBytesPerRow(0), fBits(nullptr), fMappedLength(0), fInitStatus(B_NO_INIT)
{
	_Allocate(bounds, space, -1);
}

BBitmap::BBitmap(BRect bounds, uint32 flags, color_space space, int32 bytesPerRow)
	: fBounds(), fFlags(flags), fColorSpace(space), fBytesPerRow(0), fBits(nullptr),
	  fMappedLength(0), fInitStatus(B_NO_INIT)
{
	_Allocate(bounds, space, bytesPerRow);
}

BBitmap::BBitmap(const BBitmap& other)
	: fBounds(), fFlags(other.fFlags), fColorSpace(other.fColorSpace), fBytesPerRow(0),
	  fBits(nullptr), fMappedLength(0), fInitStatus(B_NO_INIT)
{
	if (!other.IsValid()) {
		fInitStatus = other.fInitStatus;
		return;
	}
	_Allocate(other.fBounds, other.fColorSpace, other.fBytesPerRow);
	if (IsValid())
		std::memcpy(fBits, other.fBits, size_t(BitsLength()));
}

BBitmap::~BBitmap()
{
	if (fMappedLength > 0)
		munmap(fBits, fMappedLength);
	else
		std::free(fBits);
}

void BBitmap::_Allocate(BRect bounds, color_space space, int32 bytesPerRow)
{
	fBounds = bounds;
	fColorSpace = space;
	if (!std::isfinite(bounds.left) || !std::isfinite(bounds.top) || !std::isfinite(bounds.right)
		|| !std::isfinite(bounds.bottom) || !bounds.IsValid() || !kit::IsConvertibleSpace(space)) {
		fInitStatus = B_BAD_VALUE;
		return;
	}
	// Measured in double first: float bounds far apart must not overflow an int.
	double width = std::ceil(double(bounds.right) - double(bounds.left)) + 1;
	double height = std::ceil(double(bounds.bottom) - double(bounds.top)) + 1;
	if (width > kit::kMaxBitmapSide || height > kit::kMaxBitmapSide) {
		fInitStatus = B_NO_MEMORY;
		return;
	}
	int32 minimumRow = int32(width) * kit::BytesPerPixel(space);
	if (bytesPerRow < 0)
		bytesPerRow = RowBytesFor(space, int32(width));
	else if (bytesPerRow < minimumRow) {
		fInitStatus = B_BAD_VALUE;
		return;
	}
	int64 length = int64(bytesPerRow) * int64(height);
	if (length > kit::kMaxBitmapBytes) {
		fInitStatus = B_NO_MEMORY;
		return;
	}
	// Both come zeroed without touching every page now.
	if (size_t(length) >= kHugePageBytes) {
		fBits = map_pixels(size_t(length));
		if (fBits != nullptr)
			fMappedLength = size_t(length);
	} else {
		fBits = static_cast<uint8*>(std::calloc(size_t(length), 1));
	}
	if (fBits == nullptr) {
		fInitStatus = B_NO_MEMORY;
		return;
	}
	fBytesPerRow = bytesPerRow;
	fInitStatus = B_OK;
}

int32 BBitmap::BitsLength() const
{
	return IsValid() ? fBytesPerRow * PixelHeight() : 0;
}

int32 BBitmap::PixelWidth() const
{
	return IsValid() ? fBounds.IntegerWidth() + 1 : 0;
}

int32 BBitmap::PixelHeight() const
{
	return IsValid() ? fBounds.IntegerHeight() + 1 : 0;
}

void BBitmap::SetBits(const void* data, int32 length, int32 offset, color_space space)
{
	if (!IsValid() || data == nullptr || length <= 0 || offset < 0 || offset >= BitsLength()
		|| !kit::IsConvertibleSpace(space))
		return;
	const uint8* source = static_cast<const uint8*>(data);
	int32 width = PixelWidth();
	int32 height = PixelHeight();
	int32 sourceRow = RowBytesFor(space, width);

	bool sameLayout = kit::BytesPerPixel(space) == kit::BytesPerPixel(fColorSpace)
		&& (space == fColorSpace || kit::BytesPerPixel(space) == kit::kBGRABytes)
		&& sourceRow == fBytesPerRow;
	if (sameLayout) {
		std::memcpy(fBits + offset, source, size_t(std::min(length, BitsLength() - offset)));
		return;
	}

	// Pixel by pixel, through one row of B, G, R, A bytes.
	int32 sourcePixel = kit::BytesPerPixel(space);
	int32 destinationPixel = kit::BytesPerPixel(fColorSpace);
	int32 row = offset / fBytesPerRow;
	int32 column = (offset % fBytesPerRow) / destinationPixel;
	if (column >= width) {
		row++;
		column = 0;
	}
	std::vector<uint8> bgra(size_t(width) * kit::kBGRABytes);
	int64 consumed = 0;
	for (; row < height; row++, column = 0) {
		int32 wanted = width - column;
		int32 available = int32(std::min<int64>((length - consumed) / sourcePixel, wanted));
		if (available <= 0)
			break;
		kit::ToBGRA(source + consumed, space, bgra.data(), available);
		kit::FromBGRA(bgra.data(),
			fBits + int64(row) * fBytesPerRow + int64(column) * destinationPixel, fColorSpace,
			available);
		if (available < wanted)
			break;
		// The rest of the source row is padding.
		consumed += sourceRow - int64(column) * sourcePixel;
	}
}

int32 BBitmap::RowBytesFor(color_space space, int32 width)
{
	int32 bits = BitsPerPixel(space);
	if (bits == 0 || width <= 0)
		return 0;
	int64 bytes = (int64(width) * bits + kBitsPerByte - 1) / kBitsPerByte;
	bytes = (bytes + kRowAlignment - 1) & ~(kRowAlignment - 1);
	return bytes > INT32_MAX ? 0 : int32(bytes);
}

int32 BBitmap::BitsPerPixel(color_space space)
{
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
			return 32;
		case B_RGB24:
			return 24;
		case B_GRAY8:
		case B_CMAP8:
			return 8;
		default:
			return 0;
	}
}
