#include "ImageCodec.h"

#include "DestinationDevice.h"

#include <cstdio>
#include <mutex>
#include <new>

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace kit {

namespace {

// Asking a plug-in whether it reads some bytes is a question, not a fault: Qt's TGA plug-in,
// for one, warns about every file that is not a TGA, which would print a line for each
// picture opened. What this thread logs while it asks is dropped; every other message goes
// where it went before.
thread_local bool tAskingPlugIn = false;
QtMessageHandler sOtherHandler = nullptr;

void quiet_while_asking(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
	if (tAskingPlugIn && type != QtFatalMsg)
		return;
	if (sOtherHandler != nullptr)
		sOtherHandler(type, context, text);
	else
		std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

class QuietQuestion {
public:
	QuietQuestion()
	{
		static std::once_flag installed;
		std::call_once(
			installed, [] { sOtherHandler = qInstallMessageHandler(quiet_while_asking); });
		tAskingPlugIn = true;
	}
	~QuietQuestion() { tAskingPlugIn = false; }
};

} // namespace

bool CanDecode(const QByteArray& head, const QByteArray& format)
{
	QuietQuestion quiet;
	QBuffer buffer;
	buffer.setData(head);
	buffer.open(QIODevice::ReadOnly);
	// Only this format's plug-in may answer; with detection on, the reader would ask every
	// plug-in and claim any image for any format.
	QImageReader reader(&buffer, format);
	reader.setAutoDetectImageFormat(false);
	return reader.canRead();
}

status_t EncodeImage(const QImage& image, const QByteArray& format, BPositionIO* destination)
{
	try {
		DestinationDevice device(destination);
		QImageWriter writer(&device, format);
		bool written = writer.write(image);
		status_t status = device.Finish();
		if (written || status != B_OK)
			return status;
		switch (writer.error()) {
			case QImageWriter::UnsupportedFormatError:
				return B_NO_TRANSLATOR;
			case QImageWriter::DeviceError:
				return B_IO_ERROR;
			default:
				return B_ILLEGAL_DATA;
		}
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
}

} // namespace kit
