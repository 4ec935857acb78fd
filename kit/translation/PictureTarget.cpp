#include "PictureTarget.h"

#include <cstring>
#include <new>
#include <utility>

#include "BitmapStreamAccess.h"
#include "BitmapStreamIO.h"
#include "PixelConversion.h"

namespace kit {

PictureTarget::PictureTarget(BPositionIO* destination)
	: fDestination(destination), fBitmap(nullptr), fWidth(0), fHeight(0),
	  fOrientation(kOrientationNormal)
{
}

PictureTarget::~PictureTarget()
{
	delete fBitmap;
}

status_t PictureTarget::Start(int32 width, int32 height, uint16 orientation)
{
	delete fBitmap;
	fBitmap = nullptr;
	if (width <= 0 || height <= 0)
		return B_BAD_VALUE;
	fWidth = width;
	fHeight = height;
	fOrientation = kOrientationNormal;
	if (orientation >= kOrientationMirrored && orientation <= kOrientationRotated270)
		fOrientation = orientation;
	bool turned = fOrientation >= kOrientationTransposed;
	int32 shownWidth = turned ? height : width;
	int32 shownHeight = turned ? width : height;
	auto* bitmap =
		new (std::nothrow) BBitmap(BRect(0, 0, shownWidth - 1, shownHeight - 1), B_RGB32);
	if (bitmap == nullptr || !bitmap->IsValid()) {
		delete bitmap;
		return B_NO_MEMORY;
	}
	fBitmap = bitmap;
	return B_OK;
}

uint8* PictureTarget::Row(int32 y) const
{
	return static_cast<uint8*>(fBitmap->Bits()) + int64(y) * fBitmap->BytesPerRow();
}

void PictureTarget::Place(int32 y, const uint8* rows, int32 count, size_t stride)
{
	if (fBitmap == nullptr)
		return;
	const int64 rowBytes = fBitmap->BytesPerRow();
	const int64 pixel = kBGRABytes;
	const int64 lastColumn = fWidth - 1;
	uint8* bits = static_cast<uint8*>(fBitmap->Bits());
	for (int32 i = 0; i < count && y + i < fHeight; i++) {
		const int64 storedRow = y + i;
		const int64 mirroredRow = fHeight - 1 - storedRow;
		const uint8* from = rows + size_t(i) * stride;
		// Where the row's first pixel goes, and how many bytes on each next one goes.
		int64 start;
		int64 step;
		switch (fOrientation) {
			case kOrientationMirrored:
				start = storedRow * rowBytes + lastColumn * pixel;
				step = -pixel;
				break;
			case kOrientationRotated180:
				start = mirroredRow * rowBytes + lastColumn * pixel;
				step = -pixel;
				break;
			case kOrientationFlipped:
				start = mirroredRow * rowBytes;
				step = pixel;
				break;
			case kOrientationTransposed:
				start = storedRow * pixel;
				step = rowBytes;
				break;
			case kOrientationRotated90:
				start = mirroredRow * pixel;
				step = rowBytes;
				break;
			case kOrientationTransversed:
				start = lastColumn * rowBytes + mirroredRow * pixel;
				step = -rowBytes;
				break;
			case kOrientationRotated270:
				start = lastColumn * rowBytes + storedRow * pixel;
				step = -rowBytes;
				break;
			default:
				start = storedRow * rowBytes;
				step = pixel;
				break;
		}
		uint8* to = bits + start;
		if (step == pixel) {
			std::memcpy(to, from, size_t(fWidth) * kBGRABytes);
			continue;
		}
		for (int32 x = 0; x < fWidth; x++, to += step, from += kBGRABytes)
			std::memcpy(to, from, kBGRABytes);
	}
}

status_t PictureTarget::Finish()
{
	if (fBitmap == nullptr)
		return B_NO_INIT;
	BBitmap* bitmap = std::exchange(fBitmap, nullptr);
	if (BitmapStreamAccess::Adopt(fDestination, bitmap) == B_OK)
		return B_OK;

	// Not an empty bitmap stream: it gets the bitmap stream bytes.
	int32 width = bitmap->PixelWidth();
	int32 height = bitmap->PixelHeight();
	status_t status = WriteRGB32Header(fDestination, width, height);
	const uint8* row = static_cast<const uint8*>(bitmap->Bits());
	for (int32 y = 0; y < height && status == B_OK; y++, row += bitmap->BytesPerRow())
		status = WriteAll(fDestination, row, size_t(width) * kBGRABytes);
	delete bitmap;
	return status;
}

} // namespace kit
