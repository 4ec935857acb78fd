#include "ImageCodec.h"

#include <new>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

#include "BitmapLimits.h"
#include "PixelConversion.h"

namespace kit {

namespace {

const qsizetype kReadChunk = 64 * 1024;

bool within_limits(const QSize& size)
{
	return size.width() <= kMaxBitmapSide && size.height() <= kMaxBitmapSide
		&& int64(size.width()) * size.height() * kBGRABytes <= kMaxBitmapBytes;
}

} // namespace

status_t ReadToEnd(BPositionIO* source, QByteArray* bytes)
{
	off_t position = source->Position();
	if (position < 0)
		return B_IO_ERROR;
	off_t size = 0;
	if (source->GetSize(&size) == B_OK && size - position > kMaxEncodedBytes)
		return B_NO_MEMORY;
	try {
		bytes->clear();
		if (size > position)
			bytes->reserve(qsizetype(size - position));
		for (;;) {
			qsizetype filled = bytes->size();
			if (filled > kMaxEncodedBytes)
				return B_NO_MEMORY;
			bytes->resize(filled + kReadChunk);
			ssize_t count = source->ReadAt(position, bytes->data() + filled, size_t(kReadChunk));
			if (count < 0) {
				bytes->clear();
				return status_t(count);
			}
			bytes->resize(filled + qsizetype(count));
			if (count == 0)
				return B_OK;
			position += count;
		}
	} catch (const std::bad_alloc&) {
		bytes->clear();
		return B_NO_MEMORY;
	}
}

bool CanDecode(const QByteArray& head, const QByteArray& format)
{
	QBuffer buffer;
	buffer.setData(head);
	buffer.open(QIODevice::ReadOnly);
	// Only this format's plug-in may answer; with detection on, the reader would ask every
	// plug-in and claim any image for any format.
	QImageReader reader(&buffer, format);
	reader.setAutoDetectImageFormat(false);
	return reader.canRead();
}

status_t DecodeImage(const QByteArray& data, const QByteArray& format, QImage* image)
{
	QBuffer buffer;
	buffer.setData(data);
	buffer.open(QIODevice::ReadOnly);
	QImageReader reader(&buffer, format);
	reader.setAutoDetectImageFormat(false);
	// The plug-ins refuse, from the header, images that would need more memory than this,
	// which covers the plug-ins whose size() is not known before decoding. The limit is
	// process-wide; the kit is its only user.
	const int64 kBytesPerMegabyte = int64(1) << 20;
	QImageReader::setAllocationLimit(int(kMaxBitmapBytes / kBytesPerMegabyte));

	QSize size = reader.size();
	if (size.isValid() && !within_limits(size))
		return B_NO_MEMORY;
	QImage decoded;
	if (!reader.read(&decoded) || decoded.isNull()) {
		switch (reader.error()) {
			case QImageReader::UnsupportedFormatError:
				return B_NO_TRANSLATOR;
			case QImageReader::DeviceError:
				return B_IO_ERROR;
			default:
				return B_ILLEGAL_DATA;
		}
	}
	if (!within_limits(decoded.size()))
		return B_NO_MEMORY;
	// 32-bit images are used as they are (RGB32 holds an opaque alpha); others are
	// converted once, in place where Qt can.
	if (decoded.format() != QImage::Format_RGB32 && decoded.format() != QImage::Format_ARGB32)
		decoded.convertTo(QImage::Format_ARGB32);
	*image = std::move(decoded);
	return image->isNull() ? B_NO_MEMORY : B_OK;
}

status_t EncodeImage(const QImage& image, const QByteArray& format, QByteArray* data)
{
	try {
		data->clear();
		QBuffer buffer(data);
		buffer.open(QIODevice::WriteOnly);
		QImageWriter writer(&buffer, format);
		if (writer.write(image))
			return B_OK;
		switch (writer.error()) {
			case QImageWriter::UnsupportedFormatError:
				return B_NO_TRANSLATOR;
			case QImageWriter::DeviceError:
				return B_IO_ERROR;
			default:
				return B_ILLEGAL_DATA;
		}
	} catch (const std::bad_alloc&) {
		data->clear();
		return B_NO_MEMORY;
	}
}

} // namespace kit
