#include "ImageFixtures.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include <zlib.h>

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

// EXIF (a TIFF structure, big-endian) holding nothing but an orientation.
std::vector<uint8> ExifOrientation(uint16 orientation)
{
	std::vector<uint8> out = {'M', 'M', 0, 42};
	PutBig32(out, 8);                          // the first directory
	out.insert(out.end(), {0, 1});             // one entry:
	out.insert(out.end(), {0x01, 0x12, 0, 3}); // orientation, a SHORT
	PutBig32(out, 1);                          // one of them,
	out.insert(out.end(), {uint8(orientation >> 8), uint8(orientation), 0, 0});
	PutBig32(out, 0); // no next directory
	return out;
}

std::string JpegWithOrientation(const std::string& jpeg, uint16 orientation)
{
	return JpegWithExif(jpeg, ExifOrientation(orientation));
}

std::string PngWithOrientation(const std::string& png, uint16 orientation)
{
	const size_t kAfterHeader = 8 + 4 + 4 + 13 + 4; // signature, IHDR chunk
	std::vector<uint8> chunk;
	PutPngChunk(chunk, "eXIf", ExifOrientation(orientation));
	return png.substr(0, kAfterHeader) + std::string(chunk.begin(), chunk.end())
		+ png.substr(kAfterHeader);
}

std::string WebpWithOrientation(
	const std::string& webp, uint16 orientation, int32 width, int32 height)
{
	const size_t kRiffHeader = 12, kChunkHeader = 8;
	const uint8 kExifFlag = 0x08;
	std::vector<uint8> body(webp.begin() + kRiffHeader, webp.end());
	std::vector<uint8> out = {'W', 'E', 'B', 'P'};
	if (std::memcmp(body.data(), "VP8X", 4) == 0) {
		body[kChunkHeader] |= kExifFlag;
	} else {
		out.insert(out.end(), {'V', 'P', '8', 'X'});
		PutLittle(out, 10, 4);
		PutLittle(out, kExifFlag, 4);
		PutLittle(out, uint32(width - 1), 3);
		PutLittle(out, uint32(height - 1), 3);
	}
	out.insert(out.end(), body.begin(), body.end());
	std::vector<uint8> exif = ExifOrientation(orientation);
	out.insert(out.end(), {'E', 'X', 'I', 'F'});
	PutLittle(out, uint32(exif.size()), 4);
	out.insert(out.end(), exif.begin(), exif.end());
	if (exif.size() % 2 != 0)
		out.push_back(0);
	std::vector<uint8> riff = {'R', 'I', 'F', 'F'};
	PutLittle(riff, uint32(out.size()), 4);
	riff.insert(riff.end(), out.begin(), out.end());
	return std::string(riff.begin(), riff.end());
}

// A new first directory at the end of the file: the old one's entries and the orientation.
std::string TiffWithOrientation(const std::string& tiff, uint16 orientation)
{
	std::vector<uint8> file(tiff.begin(), tiff.end());
	const bool big = file[0] == 'M';
	auto get = [&](size_t at, int bytes) {
		uint32 value = 0;
		for (int i = 0; i < bytes; i++)
			value |= uint32(file[at + i]) << (8 * (big ? bytes - 1 - i : i));
		return value;
	};
	auto put = [&](std::vector<uint8>& out, uint32 value, int bytes) {
		for (int i = 0; i < bytes; i++)
			out.push_back(uint8(value >> (8 * (big ? bytes - 1 - i : i))));
	};
	const uint32 kEntry = 12;
	uint32 directory = get(4, 4);
	uint32 count = get(directory, 2);
	std::vector<std::vector<uint8>> entries;
	for (uint32 i = 0; i < count; i++) {
		size_t at = directory + 2 + i * kEntry;
		if (get(at, 2) != 0x0112)
			entries.emplace_back(file.begin() + long(at), file.begin() + long(at + kEntry));
	}
	std::vector<uint8> tag;
	put(tag, 0x0112, 2);
	put(tag, 3, 2);
	put(tag, 1, 4);
	put(tag, orientation, 2);
	put(tag, 0, 2);
	entries.push_back(tag);
	std::sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
		return (big ? (a[0] << 8 | a[1]) : (a[1] << 8 | a[0]))
			< (big ? (b[0] << 8 | b[1]) : (b[1] << 8 | b[0]));
	});
	uint32 next = get(directory + 2 + count * kEntry, 4);
	if (file.size() % 2 != 0)
		file.push_back(0);
	uint32 newDirectory = uint32(file.size());
	put(file, uint32(entries.size()), 2);
	for (const auto& entry : entries)
		file.insert(file.end(), entry.begin(), entry.end());
	put(file, next, 4);
	std::vector<uint8> offset;
	put(offset, newDirectory, 4);
	std::copy(offset.begin(), offset.end(), file.begin() + 4);
	return std::string(file.begin(), file.end());
}

} // namespace

std::string JpegWithExif(const std::string& jpeg, const std::vector<uint8>& exif)
{
	std::string segment = "\xff\xe1";
	size_t length = 2 + 6 + exif.size();
	segment += char(length >> 8);
	segment += char(length & 0xff);
	segment += std::string("Exif\0\0", 6);
	segment.append(exif.begin(), exif.end());
	return jpeg.substr(0, 2) + segment + jpeg.substr(2);
}

std::string WithOrientation(const std::string& file, uint16 orientation, int32 width, int32 height)
{
	if (file.compare(0, 2, "\xff\xd8") == 0)
		return JpegWithOrientation(file, orientation);
	if (file.compare(1, 3, "PNG") == 0)
		return PngWithOrientation(file, orientation);
	if (file.compare(0, 4, "RIFF") == 0)
		return WebpWithOrientation(file, orientation, width, height);
	if (file.compare(0, 2, "II") == 0 || file.compare(0, 2, "MM") == 0)
		return TiffWithOrientation(file, orientation);
	throw std::invalid_argument("WithOrientation: not a JPEG, PNG, WebP or TIFF file");
}

std::string BlackGreyPng(uint32 width, uint32 height, int bitDepth)
{
	std::vector<uint8> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
	std::vector<uint8> header;
	PutBig32(header, width);
	PutBig32(header, height);
	const uint8 kGrey = 0;
	header.insert(header.end(), {uint8(bitDepth), kGrey, 0, 0, 0});
	PutPngChunk(out, "IHDR", header);

	// Every row: filter byte 0, then zero bits. Compressed a row at a time.
	const size_t rowBytes = 1 + (size_t(width) * size_t(bitDepth) + 7) / 8;
	std::vector<uint8> row(rowBytes, 0);
	std::vector<uint8> compressed;
	std::vector<uint8> buffer(64 * 1024);
	z_stream zip = {};
	deflateInit(&zip, Z_BEST_COMPRESSION);
	for (uint32 y = 0; y <= height; y++) {
		bool last = y == height;
		zip.next_in = row.data();
		zip.avail_in = last ? 0 : uInt(row.size());
		do {
			zip.next_out = buffer.data();
			zip.avail_out = uInt(buffer.size());
			deflate(&zip, last ? Z_FINISH : Z_NO_FLUSH);
			compressed.insert(
				compressed.end(), buffer.data(), buffer.data() + (buffer.size() - zip.avail_out));
		} while (zip.avail_out == 0);
	}
	deflateEnd(&zip);
	PutPngChunk(out, "IDAT", compressed);
	PutPngChunk(out, "IEND", {});
	return std::string(out.begin(), out.end());
}

std::string JpegClaimingSize(const std::string& jpeg, uint16 width, uint16 height)
{
	std::string out = jpeg;
	// The frame header: FF C0 (baseline) or FF C2 (progressive), length, precision, height,
	// width.
	for (size_t at = 2; at + 9 < out.size(); at++) {
		if (uint8(out[at]) == 0xff && (uint8(out[at + 1]) == 0xc0 || uint8(out[at + 1]) == 0xc2)) {
			out[at + 5] = char(height >> 8);
			out[at + 6] = char(height & 0xff);
			out[at + 7] = char(width >> 8);
			out[at + 8] = char(width & 0xff);
			return out;
		}
	}
	throw std::invalid_argument("JpegClaimingSize: no frame header");
}

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
