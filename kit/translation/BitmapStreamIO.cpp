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

status_t CheckRowsArrived(BPositionIO* source, const TranslatorBitmap& header)
{
	off_t position = source->Position();
	off_t size = 0;
	if (position < 0)
		return B_IO_ERROR;
	if (source->GetSize(&size) == B_OK
		&& size - position - off_t(B_TRANSLATOR_BITMAP_HEADER_SIZE) < off_t(header.dataSize))
		return B_ILLEGAL_DATA;
	return B_OK;
}

namespace {

// Reads the rows of a bitmap stream, one at a time, as B, G, R, A pixels.
class RowReader {
public:
	RowReader(BPositionIO* source, const TranslatorBitmap& header)
		: fSource(source), fHeader(header), fWidth(HeaderWidth(header)),
		  fSpace(color_space(header.colors)),
		  fPixelBytes(size_t(fWidth) * size_t(BytesPerPixel(fSpace))), fStart(0)
	{
	}

	// Checks that the rows are there when the source knows its size, and sets aside one
	// row of pixels when they need converting: never more than the data can fill.
	status_t Begin()
	{
		off_t position = fSource->Position();
		if (position < 0)
			return B_IO_ERROR;
		fStart = position + off_t(B_TRANSLATOR_BITMAP_HEADER_SIZE);
		status_t status = CheckRowsArrived(fSource, fHeader);
		if (status != B_OK)
			return status;
		try {
			if (!AsTheyAre())
				fPixels.resize(fPixelBytes);
		} catch (const std::exception&) {
			return B_NO_MEMORY;
		}
		return B_OK;
	}

	// Reads row y into bgra, skipping its padding.
	status_t Read(int32 y, uint8* bgra)
	{
		off_t position = fStart + off_t(y) * off_t(fHeader.rowBytes);
		status_t status =
			ReadExactly(fSource, position, AsTheyAre() ? bgra : fPixels.data(), fPixelBytes);
		if (status == B_OK && !AsTheyAre())
			ToBGRA(fPixels.data(), fSpace, bgra, fWidth);
		return status;
	}

	// Leaves the source past the data.
	void End() { fSource->Seek(fStart + off_t(fHeader.dataSize), SEEK_SET); }

private:
	bool AsTheyAre() const { return BytesPerPixel(fSpace) == kBGRABytes; }

	BPositionIO* fSource;
	const TranslatorBitmap& fHeader;
	int32 fWidth;
	color_space fSpace;
	size_t fPixelBytes;
	off_t fStart;
	std::vector<uint8> fPixels;
};

} // namespace

status_t ReadRowsAsBGRA(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowFor& rowFor)
{
	RowReader reader(source, header);
	status_t status = reader.Begin();
	for (int32 y = 0; y < HeaderHeight(header) && status == B_OK; y++)
		status = reader.Read(y, rowFor(y));
	if (status == B_OK)
		reader.End();
	return status;
}

status_t ReadBGRARows(
	BPositionIO* source, const TranslatorBitmap& header, const BGRARowTaker& takeRow)
{
	RowReader reader(source, header);
	status_t status = reader.Begin();
	std::vector<uint8> bgra;
	try {
		bgra.resize(size_t(HeaderWidth(header)) * kBGRABytes);
	} catch (const std::exception&) {
		return B_NO_MEMORY;
	}
	for (int32 y = 0; y < HeaderHeight(header) && status == B_OK; y++) {
		status = reader.Read(y, bgra.data());
		if (status == B_OK)
			status = takeRow(y, bgra.data());
	}
	if (status == B_OK)
		reader.End();
	return status;
}

} // namespace kit
