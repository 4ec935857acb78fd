#include "BitmapResampling.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <optional>

#include <QImage>

#include "BitmapLimits.h"
#include "PixelConversion.h"

namespace {

std::optional<QImage::Format> image_format(color_space space)
{
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
			// B, G, R, A bytes are Qt's 32-bit pixels on a little-endian machine.
			if (Q_BYTE_ORDER != Q_LITTLE_ENDIAN)
				return std::nullopt;
			return QImage::Format_RGB32;
		case B_RGB24:
			return QImage::Format_BGR888;
		case B_GRAY8:
			return QImage::Format_Grayscale8;
		default:
			return std::nullopt;
	}
}

int32 bytes_per_pixel(color_space space)
{
	return BBitmap::BitsPerPixel(space) / 8;
}

} // namespace

BBitmap* resample_bitmap(const BBitmap* bitmap, BRect source, int32 width, int32 height)
{
	if (bitmap == nullptr || !bitmap->IsValid() || width <= 0 || height <= 0
		|| width > kit::kMaxBitmapSide || height > kit::kMaxBitmapSide
		|| int64(width) * height * kit::kDecodedPixelBytes > kit::kMaxBitmapBytes)
		return nullptr;
	std::optional<QImage::Format> format = image_format(bitmap->ColorSpace());
	if (!format)
		return nullptr;

	// The part as edges between pixels, from the bitmap's top left corner, cut to it.
	const BRect bounds = bitmap->Bounds();
	const double pictureWidth = bitmap->PixelWidth();
	const double pictureHeight = bitmap->PixelHeight();
	const double left = std::max(0.0, double(source.left) - bounds.left);
	const double top = std::max(0.0, double(source.top) - bounds.top);
	const double right = std::min(pictureWidth, double(source.right) + 1 - bounds.left);
	const double bottom = std::min(pictureHeight, double(source.bottom) + 1 - bounds.top);
	if (!(right > left && bottom > top)) // NaN fails too
		return nullptr;

	// The whole pixels that hold the part are scaled to whole new pixels at very nearly the
	// part's own scale; the new bitmap is cut from them where the part begins. Its sides
	// thus land within a new pixel of where they belong.
	const int32 x0 = int32(std::floor(left));
	const int32 y0 = int32(std::floor(top));
	const int32 x1 = int32(std::ceil(right));
	const int32 y1 = int32(std::ceil(bottom));
	const int32 coverWidth =
		std::max(width, int32(std::lround((x1 - x0) * width / (right - left))));
	const int32 coverHeight =
		std::max(height, int32(std::lround((y1 - y0) * height / (bottom - top))));
	const double scaleX = double(coverWidth) / (x1 - x0);
	const double scaleY = double(coverHeight) / (y1 - y0);
	const int32 offsetX = std::min(coverWidth - width, int32(std::lround((left - x0) * scaleX)));
	const int32 offsetY = std::min(coverHeight - height, int32(std::lround((top - y0) * scaleY)));

	const uchar* first = static_cast<const uchar*>(bitmap->Bits())
		+ int64(y0) * bitmap->BytesPerRow() + int64(x0) * bytes_per_pixel(bitmap->ColorSpace());
	const QImage cover(first, x1 - x0, y1 - y0, bitmap->BytesPerRow(), *format);
	QImage scaled;
	try {
		scaled =
			cover.scaled(coverWidth, coverHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
		if (!scaled.isNull() && scaled.format() != QImage::Format_RGB32)
			scaled.convertTo(QImage::Format_RGB32);
	} catch (const std::bad_alloc&) {
		return nullptr;
	}
	if (scaled.isNull() || scaled.width() != coverWidth || scaled.height() != coverHeight)
		return nullptr;

	auto* result = new (std::nothrow) BBitmap(BRect(0, 0, width - 1, height - 1), B_RGB32);
	if (result == nullptr || !result->IsValid()) {
		delete result;
		return nullptr;
	}
	uint8* row = static_cast<uint8*>(result->Bits());
	for (int32 y = 0; y < height; y++, row += result->BytesPerRow()) {
		const uchar* from = scaled.constScanLine(offsetY + y) + size_t(offsetX) * kit::kBGRABytes;
		std::memcpy(row, from, size_t(width) * kit::kBGRABytes);
	}
	return result;
}
