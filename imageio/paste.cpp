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
			// A header the stream refuses ends the copy: there is no picture in it.
			if (stream.Write(chunk, size_t(read)) != read)
				return nullptr;
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

// Copies every pixel of source into the canvas picture at (ox, oy), leaving out what falls
// outside pic. Plain 32-bit copies: no blending, the alpha byte goes along.
static void composite(BBitmap* canvas, const BBitmap* source, int ox, int oy)
{
	const int w = source->PixelWidth();
	const int h = source->PixelHeight();
	const int canvasWidth = canvas->PixelWidth();
	const int canvasHeight = canvas->PixelHeight();
	auto* to = static_cast<uint8*>(canvas->Bits());
	auto* from = static_cast<const uint8*>(source->Bits());
	for (int v = 0; v < h; v++) {
		const int y = oy + v;
		for (int c = 0; c < w; c++) {
			const int x = ox + c;
			if (!pic.Contains(BPoint(x, y)))
				continue;
			// pic and the canvas bitmap agree, but never write outside the bitmap itself.
			if (x < 0 || y < 0 || x >= canvasWidth || y >= canvasHeight)
				continue;
			std::memcpy(to + size_t(y) * canvas->BytesPerRow() + size_t(x) * kBytesPerPixel,
				from + size_t(v) * source->BytesPerRow() + size_t(c) * kBytesPerPixel,
				kBytesPerPixel);
		}
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

	composite(image, dropped, int(drop_pos.x), int(drop_pos.y));
	delete dropped;
	redraw(resize);
}
