#include "ImageCodec.h"

#include <new>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace kit {

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
