#include "paste.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "BitmapStream.h"
#include "Message.h"
#include "dorvaview.h"
#include "drop_pos.h"
#include "image_types.h"
#include "pic.h"
#include "tr.h"

// Raw bitmap data is copied into the stream this many bytes at a time.
static const size_t kCopyChunk = 1024;
// The name a picture started by dropped data goes by.
static const char kUntitled[] = "no title";
// A B_RGB32 pixel is one 32-bit word.
static const size_t kBytesPerPixel = 4;

// Decodes the first MIME-typed field of a data message into a B_RGB32 bitmap; null when the
// field is missing, is not an image, or holds nothing that decodes.
static BBitmap* decode_dropped(BMessage* message)
{
	const char* type = nullptr;
	if (message->GetInfo(B_MIME_TYPE, 0, &type, nullptr) != B_OK)
		return nullptr;
	if (!is_image_type(type))
		return nullptr;
	const void* data = nullptr;
	ssize_t size = 0;
	if (message->FindData(type, B_MIME_TYPE, &data, &size) != B_OK || size <= 0)
		return nullptr;

	BMemoryIO source(data, size_t(size));
	BBitmapStream stream;
	if (std::strcmp(type, kRawBitmapType) == 0) {
		char chunk[kCopyChunk];
		ssize_t read;
		while ((read = source.Read(chunk, sizeof(chunk))) > 0) {
			// The stream takes a header and the rows it announces and nothing more: a short
			// write ends the copy, and what was taken is the picture (a refused header leaves
			// none to detach).
			if (stream.Write(chunk, size_t(read)) != read)
				break;
		}
	} else if (tr == nullptr
		|| tr->Translate(&source, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP, 0, type)
			!= B_OK) {
		return nullptr;
	}

	BBitmap* bitmap = nullptr;
	if (stream.DetachBitmap(&bitmap) != B_OK || bitmap == nullptr)
		return nullptr;
	if (bitmap->ColorSpace() != B_RGB32 || bitmap->Bits() == nullptr) {
		delete bitmap;
		return nullptr;
	}
	return bitmap;
}

void composite(BBitmap* canvas, const BBitmap* source, BPoint at)
{
	// Pixels land only inside pic and inside the canvas bitmap itself, and no bitmap is
	// wider or taller than this: a position farther out (or no number at all) pastes
	// nothing, and every one nearer is a whole number of pixels without overflow.
	const double kFarthest = double(int64(1) << 40);
	if (!std::isfinite(at.x) || !std::isfinite(at.y) || std::fabs(at.x) > kFarthest
		|| std::fabs(at.y) > kFarthest || !pic.IsValid())
		return;
	const double ox = std::trunc(double(at.x));
	const double oy = std::trunc(double(at.y));

	// The clipped rectangle, worked out once, in canvas pixels, inclusive.
	const double left = std::max({ox, std::ceil(double(pic.left)), 0.0});
	const double top = std::max({oy, std::ceil(double(pic.top)), 0.0});
	const double right = std::min(
		{ox + source->PixelWidth() - 1, std::floor(double(pic.right)), canvas->PixelWidth() - 1.0});
	const double bottom = std::min({oy + source->PixelHeight() - 1, std::floor(double(pic.bottom)),
		canvas->PixelHeight() - 1.0});
	if (left > right || top > bottom)
		return;

	// Then whole rows: plain 32-bit copies, no blending, the alpha byte goes along.
	const int64 x0 = int64(left), y0 = int64(top), x1 = int64(right), y1 = int64(bottom);
	const int64 sourceX = x0 - int64(ox);
	const size_t rowBytes = size_t(x1 - x0 + 1) * kBytesPerPixel;
	auto* to = static_cast<uint8*>(canvas->Bits());
	auto* from = static_cast<const uint8*>(source->Bits());
	for (int64 y = y0; y <= y1; y++) {
		std::memcpy(to + y * canvas->BytesPerRow() + x0 * int64(kBytesPerPixel),
			from + (y - int64(oy)) * source->BytesPerRow() + sourceX * int64(kBytesPerPixel),
			rowBytes);
	}
}

void dorvaview::_paste_dropped(BMessage* message)
{
	BBitmap* dropped = decode_dropped(message);
	if (dropped == nullptr)
		return;
	BRect bounds = dropped->Bounds();
	const int w = int(std::ceil(bounds.right - bounds.left)) + 1;
	const int h = int(std::ceil(bounds.bottom - bounds.top)) + 1;

	bool resize = false;
	if (image == nullptr) {
		drop_pos = BPoint(0, 0);
		pic = BRect(0, 0, w - 1, h - 1);
		image = new BBitmap(pic, B_RGB32);
		if (image->Bits() == nullptr) {
			delete image;
			image = nullptr;
			pic = kNoPicture;
			delete dropped;
			return;
		}
		std::memset(image->Bits(), 0, size_t(image->BitsLength()));
		set_title(title, kUntitled);
		resize = true;
	}

	composite(image, dropped, drop_pos);
	delete dropped;
	redraw(resize);
}
