#include "BitmapStream.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "BitmapStreamAccess.h"
#include "BitmapStreamFormat.h"
#include "PixelConversion.h"
#include "SeekTarget.h"

// The stream is its header bytes followed by the bitmap's own memory: rows written into
// the stream land directly in the bitmap, so a large picture is never held twice. The
// bitmap is made when the header arrives, but a large bitmap's memory is only committed
// as rows are written into it (see BBitmap), so a header that promises more than ever
// arrives costs nothing. The kit's decoders go further and hand the stream a bitmap they
// decoded in place (BitmapStreamAccess).
struct BBitmapStream::Private {
	BBitmap* bitmap = nullptr;
	bool built = false; // made from written bytes rather than lent by the caller
	bool detached = false;
	status_t failure = B_OK; // a rejected header: the stream takes no more data
	uint8 header[B_TRANSLATOR_BITMAP_HEADER_SIZE] = {};
	size_t headerFilled = 0;
	TranslatorBitmap parsed = {};
	int64 dataWritten = 0; // bytes of row data written, with no holes before them
	off_t position = 0;

	bool HasHeader() const { return headerFilled == B_TRANSLATOR_BITMAP_HEADER_SIZE; }
	int64 DataSize() const { return HasHeader() && bitmap != nullptr ? parsed.dataSize : 0; }
	status_t AcceptHeader();
	ssize_t WriteData(int64 dataPosition, const uint8* buffer, size_t size);
};

status_t BBitmapStream::Private::AcceptHeader()
{
	kit::DecodeBitmapHeader(header, &parsed);
	status_t status = kit::CheckBitmapHeader(parsed);
	if (status == B_OK) {
		BBitmap* made =
			new (std::nothrow) BBitmap(BRect(parsed.left, parsed.top, parsed.right, parsed.bottom),
				0, color_space(parsed.colors), int32(parsed.rowBytes));
		if (made == nullptr || !made->IsValid()) {
			delete made;
			status = B_NO_MEMORY;
		} else {
			bitmap = made;
			built = true;
		}
	}
	if (status != B_OK)
		failure = status;
	return status;
}

ssize_t BBitmapStream::Private::WriteData(int64 dataPosition, const uint8* buffer, size_t size)
{
	int64 dataSize = DataSize();
	if (dataPosition > dataWritten || dataPosition >= dataSize)
		return B_BAD_VALUE;
	size_t count = size_t(std::min<int64>(int64(size), dataSize - dataPosition));
	std::memcpy(static_cast<uint8*>(bitmap->Bits()) + dataPosition, buffer, count);
	dataWritten = std::max(dataWritten, dataPosition + int64(count));
	return ssize_t(count);
}

BBitmapStream::BBitmapStream(BBitmap* bitmap) : fPrivate(new Private)
{
	fPrivate->bitmap = bitmap;
	if (bitmap != nullptr && bitmap->IsValid()) {
		fPrivate->parsed = kit::HeaderForBitmap(*bitmap);
		kit::EncodeBitmapHeader(fPrivate->parsed, fPrivate->header);
		fPrivate->headerFilled = B_TRANSLATOR_BITMAP_HEADER_SIZE;
		fPrivate->dataWritten = bitmap->BitsLength();
	}
}

BBitmapStream::~BBitmapStream()
{
	delete fPrivate->bitmap;
	delete fPrivate;
}

ssize_t BBitmapStream::ReadAt(off_t position, void* buffer, size_t size)
{
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	uint8* out = static_cast<uint8*>(buffer);
	size_t done = 0;
	if (size_t(position) < fPrivate->headerFilled) {
		done = std::min(size, fPrivate->headerFilled - size_t(position));
		std::memcpy(out, fPrivate->header + position, done);
	}
	if (done < size && fPrivate->HasHeader() && fPrivate->bitmap != nullptr) {
		int64 dataPosition = int64(position) + int64(done) - B_TRANSLATOR_BITMAP_HEADER_SIZE;
		if (dataPosition >= 0 && dataPosition < fPrivate->dataWritten) {
			size_t count =
				size_t(std::min<int64>(int64(size - done), fPrivate->dataWritten - dataPosition));
			std::memcpy(out + done,
				static_cast<const uint8*>(fPrivate->bitmap->Bits()) + dataPosition, count);
			done += count;
		}
	}
	return ssize_t(done);
}

ssize_t BBitmapStream::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (fPrivate->failure != B_OK)
		return fPrivate->failure;
	if (fPrivate->detached)
		return B_NOT_ALLOWED;
	if (size == 0)
		return 0;

	const uint8* in = static_cast<const uint8*>(buffer);
	const size_t headerSize = B_TRANSLATOR_BITMAP_HEADER_SIZE;
	size_t done = 0;
	if (size_t(position) < headerSize) {
		size_t count = std::min(size, headerSize - size_t(position));
		if (fPrivate->HasHeader()) {
			// Once accepted, the header describes memory that exists: it cannot change.
			if (std::memcmp(fPrivate->header + position, in, count) != 0)
				return B_NOT_ALLOWED;
		} else {
			if (size_t(position) > fPrivate->headerFilled)
				return B_BAD_VALUE;
			std::memcpy(fPrivate->header + position, in, count);
			fPrivate->headerFilled = std::max(fPrivate->headerFilled, size_t(position) + count);
			if (fPrivate->HasHeader()) {
				status_t status = fPrivate->AcceptHeader();
				if (status != B_OK)
					return status;
			}
		}
		done = count;
	}
	if (done == size)
		return ssize_t(done);
	if (!fPrivate->HasHeader() || fPrivate->bitmap == nullptr)
		return B_BAD_VALUE;

	ssize_t written = fPrivate->WriteData(
		int64(position) + int64(done) - int64(headerSize), in + done, size - done);
	if (written < 0)
		return done > 0 ? ssize_t(done) : written;
	return ssize_t(done) + written;
}

off_t BBitmapStream::Seek(off_t position, uint32 seekMode)
{
	off_t target = kit::SeekTarget(
		position, seekMode, fPrivate->position, [this](off_t* size) { return GetSize(size); });
	if (target < 0)
		return target;
	fPrivate->position = target;
	return target;
}

off_t BBitmapStream::Position() const
{
	return fPrivate->position;
}

status_t BBitmapStream::SetSize(off_t size)
{
	// The size follows from the header; the only size that can be set is the one it has.
	off_t current = 0;
	GetSize(&current);
	return size == current ? B_OK : B_NOT_ALLOWED;
}

status_t BBitmapStream::GetSize(off_t* size) const
{
	if (size == nullptr)
		return B_BAD_VALUE;
	if (fPrivate->HasHeader() && fPrivate->bitmap != nullptr)
		*size = off_t(B_TRANSLATOR_BITMAP_HEADER_SIZE) + fPrivate->DataSize();
	else
		*size = off_t(fPrivate->headerFilled);
	return B_OK;
}

status_t BBitmapStream::DetachBitmap(BBitmap** outBitmap)
{
	if (outBitmap == nullptr)
		return B_BAD_VALUE;
	BBitmap* bitmap = fPrivate->bitmap;
	if (fPrivate->detached || bitmap == nullptr)
		return B_ERROR;
	if (fPrivate->built && fPrivate->dataWritten < fPrivate->DataSize())
		return B_ERROR;

	// A lent bitmap goes back as it came; one built from the stream's bytes is handed out
	// as B_RGB32 whatever the data held, as every decoded picture is.
	if (fPrivate->built && bitmap->ColorSpace() != B_RGB32) {
		BBitmap* converted = new (std::nothrow) BBitmap(bitmap->Bounds(), B_RGB32);
		if (converted == nullptr || !converted->IsValid()) {
			delete converted;
			return B_NO_MEMORY;
		}
		int32 width = bitmap->PixelWidth();
		const uint8* source = static_cast<const uint8*>(bitmap->Bits());
		uint8* destination = static_cast<uint8*>(converted->Bits());
		for (int32 row = 0; row < bitmap->PixelHeight(); row++) {
			kit::ToBGRA(source + int64(row) * bitmap->BytesPerRow(), bitmap->ColorSpace(),
				destination + int64(row) * converted->BytesPerRow(), width);
		}
		delete bitmap;
		bitmap = converted;
	}
	fPrivate->bitmap = nullptr;
	fPrivate->detached = true;
	fPrivate->headerFilled = 0;
	fPrivate->dataWritten = 0;
	*outBitmap = bitmap;
	return B_OK;
}

namespace kit {

status_t BitmapStreamAccess::Adopt(BPositionIO* destination, BBitmap* bitmap)
{
	auto* stream = dynamic_cast<BBitmapStream*>(destination);
	if (stream == nullptr || bitmap == nullptr || !bitmap->IsValid())
		return B_BAD_VALUE;
	BBitmapStream::Private* inside = stream->fPrivate;
	if (inside->bitmap != nullptr || inside->headerFilled != 0 || inside->failure != B_OK
		|| inside->detached || inside->position != 0)
		return B_NOT_ALLOWED;
	inside->bitmap = bitmap;
	inside->built = true;
	inside->parsed = HeaderForBitmap(*bitmap);
	EncodeBitmapHeader(inside->parsed, inside->header);
	inside->headerFilled = B_TRANSLATOR_BITMAP_HEADER_SIZE;
	inside->dataWritten = bitmap->BitsLength();
	// Where it would stand had the bytes been written.
	inside->position = off_t(B_TRANSLATOR_BITMAP_HEADER_SIZE) + inside->dataWritten;
	return B_OK;
}

const BBitmap* BitmapStreamAccess::WholeBitmap(BPositionIO* source)
{
	auto* stream = dynamic_cast<BBitmapStream*>(source);
	if (stream == nullptr)
		return nullptr;
	const BBitmapStream::Private* inside = stream->fPrivate;
	if (inside->bitmap == nullptr || inside->detached || inside->position != 0
		|| inside->dataWritten < inside->DataSize() || inside->DataSize() == 0)
		return nullptr;
	return inside->bitmap;
}

} // namespace kit
