#include "PngWriter.h"

#include <cstring>
#include <exception>
#include <vector>

#include <zlib.h>

#include "BitmapStreamFormat.h"
#include "BitmapStreamIO.h"
#include "PixelConversion.h"

namespace kit {

namespace {

const uint8 kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
const uint8 kColorTypeRGB = 2;
const uint8 kColorTypeRGBA = 6;
// Each row of the compressed data begins with the number of its filter.
const uint8 kFilterUp = 2;
// Compressed data goes out in IDAT chunks of at most this size.
const size_t kChunkBytes = 256 * 1024;

void put_big_endian(uint8* out, uint32 value)
{
	out[0] = uint8(value >> 24);
	out[1] = uint8(value >> 16);
	out[2] = uint8(value >> 8);
	out[3] = uint8(value);
}

// One chunk: its length, its type, its data and the CRC of type and data.
status_t write_chunk(BPositionIO* destination, const char* type, const uint8* data, size_t size)
{
	uint8 head[8];
	put_big_endian(head, uint32(size));
	std::memcpy(head + 4, type, 4);
	uLong crc = crc32(0, head + 4, 4);
	if (size > 0)
		crc = crc32(crc, data, uInt(size));
	uint8 tail[4];
	put_big_endian(tail, uint32(crc));
	status_t status = WriteAll(destination, head, sizeof(head));
	if (status == B_OK && size > 0)
		status = WriteAll(destination, data, size);
	if (status == B_OK)
		status = WriteAll(destination, tail, sizeof(tail));
	return status;
}

// A zlib stream cut into IDAT chunks as its output fills up.
class ImageData {
public:
	ImageData(BPositionIO* destination) : fDestination(destination), fStream{}, fReady(false) {}
	~ImageData()
	{
		if (fReady)
			deflateEnd(&fStream);
	}

	status_t Init()
	{
		try {
			fOut.resize(kChunkBytes);
		} catch (const std::exception&) {
			return B_NO_MEMORY;
		}
		// Level 1 and the default strategy: after the Up filter a photograph compresses
		// nearly as well as at the default level, several times faster.
		if (deflateInit2(&fStream, 1, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
			return B_NO_MEMORY;
		fReady = true;
		fStream.next_out = fOut.data();
		fStream.avail_out = uInt(fOut.size());
		return B_OK;
	}

	status_t Add(const uint8* data, size_t size, bool last)
	{
		fStream.next_in = const_cast<Bytef*>(data);
		fStream.avail_in = uInt(size);
		const int flush = last ? Z_FINISH : Z_NO_FLUSH;
		for (;;) {
			int result = deflate(&fStream, flush);
			if (result == Z_STREAM_ERROR)
				return B_ERROR;
			if (fStream.avail_out == 0) {
				status_t status = _WriteChunk();
				if (status != B_OK)
					return status;
				continue;
			}
			if (last ? result == Z_STREAM_END : fStream.avail_in == 0)
				break;
		}
		return last ? _WriteChunk() : B_OK;
	}

private:
	status_t _WriteChunk()
	{
		size_t filled = fOut.size() - fStream.avail_out;
		fStream.next_out = fOut.data();
		fStream.avail_out = uInt(fOut.size());
		if (filled == 0)
			return B_OK;
		return write_chunk(fDestination, "IDAT", fOut.data(), filled);
	}

	BPositionIO* fDestination;
	z_stream fStream;
	bool fReady;
	std::vector<uint8> fOut;
};

} // namespace

status_t WritePng(BPositionIO* source, const TranslatorBitmap& header, BPositionIO* destination)
{
	const int32 width = HeaderWidth(header);
	const int32 height = HeaderHeight(header);
	const bool hasAlpha = color_space(header.colors) == B_RGBA32;
	const size_t channels = hasAlpha ? 4 : 3;
	const size_t rowBytes = size_t(width) * channels;

	// The previous row's pixels, and this row's with its filter byte in front.
	std::vector<uint8> previous;
	std::vector<uint8> current;
	std::vector<uint8> line;
	try {
		previous.assign(rowBytes, 0);
		current.resize(rowBytes);
		line.resize(rowBytes + 1);
	} catch (const std::exception&) {
		return B_NO_MEMORY;
	}
	ImageData data(destination);
	status_t status = data.Init();
	if (status != B_OK)
		return status;

	uint8 ihdr[13];
	put_big_endian(ihdr, uint32(width));
	put_big_endian(ihdr + 4, uint32(height));
	ihdr[8] = 8; // bits per channel
	ihdr[9] = hasAlpha ? kColorTypeRGBA : kColorTypeRGB;
	ihdr[10] = 0; // deflate
	ihdr[11] = 0; // the five standard row filters
	ihdr[12] = 0; // not interlaced
	status = WriteAll(destination, kSignature, sizeof(kSignature));
	if (status == B_OK)
		status = write_chunk(destination, "IHDR", ihdr, sizeof(ihdr));
	if (status != B_OK)
		return status;

	line[0] = kFilterUp;
	status = ReadBGRARows(source, header, [&](int32, const uint8* in) {
		// Red, green, blue (and alpha) in PNG's order, and each byte as its difference from
		// the byte above it (above the first row stand zeros).
		uint8* pixels = current.data();
		uint8* out = line.data() + 1;
		const uint8* above = previous.data();
		if (hasAlpha) {
			for (int32 x = 0; x < width; x++, in += kBGRABytes, pixels += 4, out += 4, above += 4) {
				pixels[0] = in[kRedByte];
				pixels[1] = in[kGreenByte];
				pixels[2] = in[kBlueByte];
				pixels[3] = in[kAlphaByte];
				out[0] = uint8(pixels[0] - above[0]);
				out[1] = uint8(pixels[1] - above[1]);
				out[2] = uint8(pixels[2] - above[2]);
				out[3] = uint8(pixels[3] - above[3]);
			}
		} else {
			for (int32 x = 0; x < width; x++, in += kBGRABytes, pixels += 3, out += 3, above += 3) {
				pixels[0] = in[kRedByte];
				pixels[1] = in[kGreenByte];
				pixels[2] = in[kBlueByte];
				out[0] = uint8(pixels[0] - above[0]);
				out[1] = uint8(pixels[1] - above[1]);
				out[2] = uint8(pixels[2] - above[2]);
			}
		}
		current.swap(previous);
		return data.Add(line.data(), line.size(), false);
	});
	if (status == B_OK)
		status = data.Add(nullptr, 0, true);
	if (status == B_OK)
		status = write_chunk(destination, "IEND", nullptr, 0);
	return status;
}

} // namespace kit
