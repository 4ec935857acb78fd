#include "ImageFixtures.h"

#include <cstring>

#include "BitmapStream.h"
#include "TranslatorRoster.h"

namespace {

void PutBig32(std::vector<uint8>& out, uint32 value)
{
	out.push_back(uint8(value >> 24));
	out.push_back(uint8(value >> 16));
	out.push_back(uint8(value >> 8));
	out.push_back(uint8(value));
}

void PutLittle(std::vector<uint8>& out, uint32 value, int bytes)
{
	for (int i = 0; i < bytes; i++)
		out.push_back(uint8(value >> (8 * i)));
}

uint32 BigFloat(float value)
{
	uint32 word;
	std::memcpy(&word, &value, sizeof(word));
	return word;
}

uint32 Crc32(const uint8* data, size_t length)
{
	uint32 crc = 0xffffffffu;
	for (size_t i = 0; i < length; i++) {
		crc ^= data[i];
		for (int bit = 0; bit < 8; bit++)
			crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
	}
	return crc ^ 0xffffffffu;
}

void PutPngChunk(std::vector<uint8>& out, const char* type, const std::vector<uint8>& data)
{
	PutBig32(out, uint32(data.size()));
	std::vector<uint8> body(type, type + 4);
	body.insert(body.end(), data.begin(), data.end());
	out.insert(out.end(), body.begin(), body.end());
	PutBig32(out, Crc32(body.data(), body.size()));
}

} // namespace

std::unique_ptr<BBitmap> MakePatternBitmap(int32 width, int32 height, color_space space)
{
	auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, width - 1, height - 1), space);
	uint8* bits = static_cast<uint8*>(bitmap->Bits());
	int32 pixelBytes = BBitmap::BitsPerPixel(space) / 8;
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			uint8* pixel = bits + y * bitmap->BytesPerRow() + x * pixelBytes;
			for (int32 c = 0; c < pixelBytes; c++)
				pixel[c] = uint8(x * 37 + y * 91 + c * 53 + (x * y) % 7);
			if (space == B_RGB32)
				pixel[3] = 255;
		}
	}
	return bitmap;
}

std::unique_ptr<BBitmap> MakeSmoothBitmap(int32 width, int32 height)
{
	auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, width - 1, height - 1), B_RGB32);
	uint8* bits = static_cast<uint8*>(bitmap->Bits());
	for (int32 y = 0; y < height; y++) {
		for (int32 x = 0; x < width; x++) {
			uint8* pixel = bits + y * bitmap->BytesPerRow() + x * 4;
			pixel[0] = uint8(40 + x * 160 / width);
			pixel[1] = uint8(60 + y * 140 / height);
			pixel[2] = uint8(200 - (x + y) * 100 / (width + height));
			pixel[3] = 255;
		}
	}
	return bitmap;
}

// The pixels from low to high, both included; 0 where the bounds give no size (reversed,
// infinite or NaN), which a header check refuses anyway.
static uint32 pixels_between(float low, float high)
{
	double size = double(high) - double(low) + 1;
	return size >= 0 && size <= double(UINT32_MAX) ? uint32(size) : 0;
}

TranslatorBitmap MakeHeader(
	float left, float top, float right, float bottom, color_space space, uint32 rowBytes)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.left = left;
	header.top = top;
	header.right = right;
	header.bottom = bottom;
	uint32 width = pixels_between(left, right);
	uint32 height = pixels_between(top, bottom);
	header.rowBytes = rowBytes != 0 ? rowBytes : width * uint32(BBitmap::BitsPerPixel(space) / 8);
	header.colors = space;
	header.dataSize = header.rowBytes * height;
	return header;
}

std::vector<uint8> BitmapStreamBytes(const TranslatorBitmap& header, const std::vector<uint8>& data)
{
	std::vector<uint8> out;
	PutBig32(out, header.magic);
	PutBig32(out, BigFloat(header.left));
	PutBig32(out, BigFloat(header.top));
	PutBig32(out, BigFloat(header.right));
	PutBig32(out, BigFloat(header.bottom));
	PutBig32(out, header.rowBytes);
	PutBig32(out, header.colors);
	PutBig32(out, header.dataSize);
	out.insert(out.end(), data.begin(), data.end());
	return out;
}

std::vector<uint8> PngClaimingSize(uint32 width, uint32 height)
{
	std::vector<uint8> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
	std::vector<uint8> header;
	PutBig32(header, width);
	PutBig32(header, height);
	header.insert(header.end(), {8, 2, 0, 0, 0}); // 8-bit RGB, no interlace
	PutPngChunk(out, "IHDR", header);
	PutPngChunk(out, "IDAT", {0x78, 0x9c, 0x63, 0x00, 0x00});
	PutPngChunk(out, "IEND", {});
	return out;
}

std::vector<uint8> BmpClaimingSize(int32 width, int32 height)
{
	std::vector<uint8> out = {'B', 'M'};
	PutLittle(out, 54 + 64, 4); // file size: the headers and a few bytes
	PutLittle(out, 0, 4);
	PutLittle(out, 54, 4); // pixel data offset
	PutLittle(out, 40, 4); // info header size
	PutLittle(out, uint32(width), 4);
	PutLittle(out, uint32(height), 4);
	PutLittle(out, 1, 2);  // planes
	PutLittle(out, 24, 2); // bits per pixel
	PutLittle(out, 0, 4);  // no compression
	PutLittle(out, 0, 4);
	PutLittle(out, 2835, 4);
	PutLittle(out, 2835, 4);
	PutLittle(out, 0, 4);
	PutLittle(out, 0, 4);
	out.resize(out.size() + 64, 0x55);
	return out;
}

status_t EncodeBitmap(BTranslatorRoster* roster, const BBitmap& bitmap, uint32 type, BMallocIO* out)
{
	BBitmapStream stream(new BBitmap(bitmap));
	return roster->Translate(&stream, nullptr, nullptr, out, type);
}

std::unique_ptr<BBitmap> DecodeBytes(BTranslatorRoster* roster, const void* bytes, size_t size,
	status_t* status, const char* hintMIME)
{
	BMemoryIO source(bytes, size);
	BBitmapStream stream;
	*status =
		roster->Translate(&source, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP, 0, hintMIME);
	if (*status != B_OK)
		return nullptr;
	BBitmap* bitmap = nullptr;
	*status = stream.DetachBitmap(&bitmap);
	return std::unique_ptr<BBitmap>(bitmap);
}

const uint8* PixelAt(const BBitmap& bitmap, int32 x, int32 y)
{
	return static_cast<const uint8*>(bitmap.Bits()) + y * bitmap.BytesPerRow() + x * 4;
}
