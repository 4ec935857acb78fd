#include "PluginDecoder.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include <QIODevice>
#include <QImage>
#include <QImageReader>

#include "BitmapLimits.h"
#include "BitmapStreamIO.h"
#include "ExifOrientation.h"
#include "PictureTarget.h"
#include "PixelConversion.h"

namespace kit {

namespace {

// Rows converted at a time from a plug-in's pixel format.
const int kBandRows = 64;
// The plug-ins read in small pieces; the file is read ahead this much at a time.
const qint64 kReadAhead = 64 * 1024;
const int64 kBytesPerMegabyte = int64(1) << 20;

// A read-only device over a BPositionIO from a given offset on, for the plug-ins.
class SourceDevice : public QIODevice {
public:
	SourceDevice(BPositionIO* source, off_t start, int64 size)
		: fSource(source), fStart(start), fSize(size), fCache(size_t(kReadAhead)), fCacheStart(0),
		  fCacheLength(0)
	{
	}

	bool isSequential() const override { return false; }
	qint64 size() const override { return fSize; }

protected:
	qint64 readData(char* data, qint64 wanted) override
	{
		qint64 position = pos();
		qint64 done = 0;
		while (done < wanted) {
			qint64 at = position + done;
			if (at >= fCacheStart && at < fCacheStart + fCacheLength) {
				qint64 count = std::min(wanted - done, fCacheStart + fCacheLength - at);
				std::memcpy(data + done, fCache.data() + (at - fCacheStart), size_t(count));
				done += count;
				continue;
			}
			if (wanted - done >= kReadAhead) { // large reads go straight through
				ssize_t count = fSource->ReadAt(fStart + at, data + done, size_t(wanted - done));
				if (count <= 0)
					return done > 0 ? done : (count == 0 ? 0 : -1);
				done += count;
				continue;
			}
			ssize_t count = fSource->ReadAt(fStart + at, fCache.data(), fCache.size());
			if (count <= 0)
				return done > 0 ? done : (count == 0 ? 0 : -1);
			fCacheStart = at;
			fCacheLength = count;
		}
		return done;
	}

	qint64 writeData(const char*, qint64) override { return -1; }

private:
	BPositionIO* fSource;
	off_t fStart;
	int64 fSize;
	std::vector<char> fCache;
	qint64 fCacheStart;
	qint64 fCacheLength;
};

bool is_vector_format(const QByteArray& format)
{
	return format.startsWith("svg");
}

status_t status_for(QImageReader::ImageReaderError error)
{
	switch (error) {
		case QImageReader::UnsupportedFormatError:
			return B_NO_TRANSLATOR;
		case QImageReader::DeviceError:
			return B_IO_ERROR;
		default:
			return B_ILLEGAL_DATA;
	}
}

// The formats whose pixels already are B, G, R, A bytes in memory (0xAARRGGBB words on a
// little-endian machine), alpha not premultiplied.
bool is_bgra(QImage::Format format)
{
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
	return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
#else
	return false;
#endif
}

// Puts the decoded image into the target a band of rows at a time, converting each band to
// B, G, R, A bytes (in place where the layouts are the same size) unless the image is in
// them already.
void place_image(QImage* image, PictureTarget* target)
{
	const int width = image->width();
	const QList<QRgb> colours = image->colorTable();
	for (int y = 0; y < image->height(); y += kBandRows) {
		int count = std::min(kBandRows, image->height() - y);
		if (is_bgra(image->format())) {
			target->Place(y, image->constScanLine(y), count, size_t(image->bytesPerLine()));
			continue;
		}
		QImage band(image->scanLine(y), width, count, image->bytesPerLine(), image->format());
		band.setColorTable(colours);
		band.convertTo(QImage::Format_ARGB32);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
		for (int row = 0; row < count; row++) {
			auto* words = reinterpret_cast<quint32*>(band.scanLine(row));
			for (int x = 0; x < width; x++)
				words[x] = qbswap(words[x]);
		}
#endif
		target->Place(y, band.constBits(), count, size_t(band.bytesPerLine()));
	}
}

// The plug-ins check every image they allocate against a limit that is one setting for the
// whole process; each decoding sets it for its own file while it holds this lock.
std::mutex gAllocationLimitLock;

// The report of a picture stored as width x height and shown as the EXIF facts say, and
// for a request of the header alone, that header in the destination.
status_t report_size(int32 width, int32 height, const ExifFacts& facts,
	const DecodeRequest& request, DecodeReport* report, BPositionIO* destination)
{
	const bool turned =
		facts.orientation >= kOrientationTransposed && facts.orientation <= kOrientationRotated270;
	report->width = turned ? height : width;
	report->height = turned ? width : height;
	report->dateTaken = DateNumber(facts.year, facts.month, facts.day);
	if (!request.headerOnly)
		return B_OK;
	return WriteRGB32Header(destination, report->width, report->height);
}

} // namespace

status_t DecodeWithPlugin(BPositionIO* source, const QByteArray& format, BPositionIO* destination,
	const DecodeRequest& request, DecodeReport* report)
{
	off_t start = source->Position();
	if (start < 0)
		return B_IO_ERROR;
	off_t size = 0;
	int64 fileBytes = source->GetSize(&size) == B_OK && size >= start ? int64(size - start) : -1;
	const ExifFacts facts = FindExifFacts(source);
	const uint16 orientation = facts.orientation;
	const bool vector = is_vector_format(format);

	SourceDevice device(source, start, std::max<int64>(fileBytes, 0));
	device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
	QImageReader reader(&device, format);
	reader.setAutoDetectImageFormat(false);
	reader.setAutoTransform(false); // the orientation is applied below, once

	// The size the header claims, checked before the plug-in decodes anything.
	QSize claimed = reader.size();
	int64 allowedPixels = vector ? kMaxVectorPixels : AllowedPixels(fileBytes);
	if (claimed.isValid() && !claimed.isEmpty()) {
		if (vector) {
			int32 width, height;
			FitVectorSize(claimed.width(), claimed.height(), &width, &height);
			if (width != claimed.width() || height != claimed.height()) {
				claimed = QSize(width, height);
				reader.setScaledSize(claimed);
			}
		} else {
			status_t status = CheckPictureSize(claimed.width(), claimed.height(), fileBytes);
			if (status != B_OK)
				return status == B_BAD_VALUE ? B_ILLEGAL_DATA : status;
		}
		if (request.headerOnly)
			return report_size(
				claimed.width(), claimed.height(), facts, request, report, destination);
	}

	// Straight into the bitmap when the plug-in decodes into an image of the right size and
	// layout that it is given: the bitmap's memory, lent as such an image.
	PictureTarget target(destination);
	QImage image;
	const QImage::Format layout = reader.imageFormat();
	uchar* lent = nullptr;
	if (claimed.isValid() && !claimed.isEmpty() && orientation == kOrientationNormal
		&& is_bgra(layout)) {
		status_t status = target.Start(claimed.width(), claimed.height(), orientation);
		if (status != B_OK)
			return status;
		lent = target.Row(0);
		image = QImage(lent, claimed.width(), claimed.height(),
			qsizetype(claimed.width()) * kBGRABytes, layout);
	}

	bool read;
	{
		std::lock_guard<std::mutex> lock(gAllocationLimitLock);
		// In whole megabytes, with some to spare: the plug-ins also count what they
		// allocate besides the image.
		int64 megabytes = allowedPixels * kDecodedPixelBytes / kBytesPerMegabyte + 2;
		QImageReader::setAllocationLimit(int(megabytes));
		read = reader.read(&image);
	}
	if (!read || image.isNull())
		return status_for(reader.error());
	if (lent != nullptr && image.constBits() == lent && image.size() == claimed
		&& image.format() == layout) {
		report_size(image.width(), image.height(), facts, request, report, destination);
		return target.Finish();
	}

	// The plug-in made an image of its own: one more check of its size, then a copy.
	if (lent != nullptr && image.constBits() == lent)
		image = image.copy(); // the lent memory goes with the bitmap below
	if (image.width() > kMaxBitmapSide || image.height() > kMaxBitmapSide
		|| int64(image.width()) * image.height() > allowedPixels)
		return B_NO_MEMORY;
	// Only a plug-in that could not tell the size beforehand brings a request of the header
	// alone this far: it gets the header of what was decoded.
	status_t reported =
		report_size(image.width(), image.height(), facts, request, report, destination);
	if (request.headerOnly)
		return reported;
	status_t status = target.Start(image.width(), image.height(), orientation);
	if (status != B_OK)
		return status;
	place_image(&image, &target);
	return target.Finish();
}

} // namespace kit
