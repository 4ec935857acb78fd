#include "BitmapStreamIO.h"

#include <exception>
#include <vector>

#include "BitmapStreamFormat.h"
#include "PixelConversion.h"

namespace kit {

status_t WriteAll(BPositionIO* destination, const void* data, size_t size)
{
	const uint8* bytes = static_cast<const uint8*>(data);
	while (size > 0) {
		ssize_t written = destination->Write(bytes, size);
		if (written < 0)
			return status_t(written);
		if (written == 0)
			return B_IO_ERROR;
		bytes += written;
		size -= size_t(written);
	}
	return B_OK;
}

status_t ReadExactly(BPositionIO* source, off_t position, void* data, size_t size)
{
	uint8* bytes = static_cast<uint8*>(data);
	while (size > 0) {
		ssize_t count = source->ReadAt(position, bytes, size);
		if (count < 0)
			return status_t(count);
		if (count == 0)
			return B_ILLEGAL_DATA;
		bytes += count;
		position += count;
		size -= size_t(count);
	}
	return B_OK;
}

status_t PeekBitmapHeader(BPositionIO* source, TranslatorBitmap* header)
{
	uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE];
	off_t position = source->Position();
	if (position < 0)
		return B_IO_ERROR;
	ssize_t count = source->ReadAt(position, bytes, sizeof(bytes));
	if (count < 0)
		return status_t(count);
	if (!HasBitmapMagic(bytes, size_t(count)))
		return B_NO_TRANSLATOR;
	if (size_t(count) < sizeof(bytes)) {
		// Only the end of the stream came back so far; some streams return short reads.
		if (ReadExactly(source, position, bytes, sizeof(bytes)) != B_OK)
			return B_ILLEGAL_DATA;
	}
	DecodeBitmapHeader(bytes, header);
	return CheckBitmapHeader(*header);
}

status_t WriteRGB32Header(BPositionIO* destination, int32 width, int32 height)
{
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.left = 0;
	header.top = 0;
	header.right = float(width - 1);
	header.bottom = float(height - 1);
	header.rowBytes = uint32(width) * kBGRABytes;
	header.colors = B_RGB32;
	header.dataSize = header.rowBytes * uint32(height);
	uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE];
	EncodeBitmapHeader(header, bytes);
	return WriteAll(destination, bytes, sizeof(bytes));
}

status_t ReadBGRARows(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowTaker& takeRow)
{
	int32 width = HeaderWidth(header);
	int32 height = HeaderHeight(header);
	color_space space = color_space(header.colors);
	std::vector<uint8> row;
	std::vector<uint8> bgra;
	try {
		row.resize(header.rowBytes);
		bgra.resize(size_t(width) * kBGRABytes);
	} catch (const std::exception&) {
		return B_NO_MEMORY;
	}
	off_t position = source->Position() + off_t(B_TRANSLATOR_BITMAP_HEADER_SIZE);
	for (int32 y = 0; y < height; y++, position += header.rowBytes) {
		status_t status = ReadExactly(source, position, row.data(), row.size());
		if (status != B_OK)
			return status;
		ToBGRA(row.data(), space, bgra.data(), width);
		status = takeRow(y, bgra.data());
		if (status != B_OK)
			return status;
	}
	source->Seek(position, SEEK_SET);
	return B_OK;
}

} // namespace kit
