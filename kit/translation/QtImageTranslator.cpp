#include "QtImageTranslator.h"

#include <cstring>
#include <exception>
#include <optional>
#include <vector>

#include "Bitmap.h"
#include "BitmapStreamAccess.h"
#include "BitmapStreamFormat.h"
#include "BitmapStreamIO.h"
#include "BitsTranslator.h"
#include "DecodeRequest.h"
#include "ImageCodec.h"
#include "JpegDecoder.h"
#include "PixelConversion.h"
#include "PluginDecoder.h"
#include "PngWriter.h"
#include "Utf8Text.h"
#include "WebpWriter.h"

namespace kit {

namespace {

// Enough of the start of a file for any plug-in to recognise its format.
const size_t kIdentifyBytes = 64 * 1024;
// The plug-in's name of the format that the kit decodes itself.
const QByteArray kJpegFormat = "jpeg";

void copy_text(char* target, const std::string& text)
{
	CopyUtf8(target, B_MIME_STRING_LENGTH - 1, text);
}

// Only B_RGBA32 carries alpha; in B_RGB32 the fourth byte means nothing, and the writers
// take an image without an alpha channel for the three colours alone.
QImage::Format image_format(const TranslatorBitmap& header)
{
	return color_space(header.colors) == B_RGBA32 ? QImage::Format_ARGB32 : QImage::Format_RGB32;
}

// The bitmap of a whole bitmap stream seen as an image, read-only, without a copy: B, G,
// R, A bytes are Qt's 32-bit pixels on a little-endian machine.
std::optional<QImage> ImageInPlace(BPositionIO* source, const TranslatorBitmap& header)
{
	const BBitmap* bitmap = BitmapStreamAccess::WholeBitmap(source);
	color_space space = color_space(header.colors);
	if (bitmap == nullptr || Q_BYTE_ORDER != Q_LITTLE_ENDIAN
		|| (space != B_RGB32 && space != B_RGBA32) || bitmap->ColorSpace() != space)
		return std::nullopt;
	return QImage(static_cast<const uchar*>(bitmap->Bits()), HeaderWidth(header),
		HeaderHeight(header), bitmap->BytesPerRow(), image_format(header));
}

// The rows of any other bitmap stream, read into an image of their own.
status_t ReadImage(BPositionIO* source, const TranslatorBitmap& header, std::optional<QImage>* out)
{
	int32 width = HeaderWidth(header);
	const bool hasAlpha = color_space(header.colors) == B_RGBA32;
	QImage& image = out->emplace(width, HeaderHeight(header), image_format(header));
	if (image.isNull())
		return B_NO_MEMORY;
	return ReadBGRARows(source, header, [&](int32 y, const uint8* in) {
		QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
		for (int32 x = 0; x < width; x++, in += kBGRABytes) {
			line[x] =
				qRgba(in[kRedByte], in[kGreenByte], in[kBlueByte], hasAlpha ? in[kAlphaByte] : 255);
		}
		return status_t(B_OK);
	});
}

} // namespace

QtImageTranslator::QtImageTranslator(const ImageFormatDescription& description)
	: fFormat(description.format), fType(description.type), fWritable(description.writable),
	  fName(description.name + " translator"), fInputs{}, fInputCount(0), fOutputs{},
	  fOutputCount(0)
{
	fInfo = (fWritable ? "Reads and writes " : "Reads ") + description.name + " files";

	translation_format own = {};
	own.type = fType;
	own.group = B_TRANSLATOR_BITMAP;
	own.quality = 0.6f;
	own.capability = 0.6f;
	copy_text(own.MIME, description.mime);
	copy_text(own.name, description.name);

	fInputs[fInputCount++] = own;
	if (fWritable) {
		fInputs[fInputCount++] = BitmapStreamFormat(0.6f, 0.6f);
		fOutputs[fOutputCount++] = own;
	}
	fOutputs[fOutputCount++] = BitmapStreamFormat(0.6f, 0.6f);
}

const char* QtImageTranslator::TranslatorName() const
{
	return fName.c_str();
}

const char* QtImageTranslator::TranslatorInfo() const
{
	return fInfo.c_str();
}

const translation_format* QtImageTranslator::InputFormats(int32* count) const
{
	if (count != nullptr)
		*count = fInputCount;
	return fInputs;
}

const translation_format* QtImageTranslator::OutputFormats(int32* count) const
{
	if (count != nullptr)
		*count = fOutputCount;
	return fOutputs;
}

void QtImageTranslator::_FillInfo(const translation_format& format, translator_info* info)
{
	*info = translator_info{};
	info->type = format.type;
	info->group = format.group;
	info->quality = format.quality;
	info->capability = format.capability;
	std::memcpy(info->name, format.name, sizeof(info->name));
	std::memcpy(info->MIME, format.MIME, sizeof(info->MIME));
}

status_t QtImageTranslator::Identify(BPositionIO* source, const translation_format*, BMessage*,
	translator_info* outInfo, uint32 outType)
{
	if (source == nullptr || outInfo == nullptr)
		return B_BAD_VALUE;
	TranslatorBitmap header;
	status_t bitmapStatus = PeekBitmapHeader(source, &header);
	if (bitmapStatus != B_NO_TRANSLATOR) {
		// Bitmap stream data (even a broken one is nothing this format's plug-in reads):
		// this translator can only encode it into its own format.
		if (bitmapStatus != B_OK || !fWritable || (outType != 0 && outType != fType))
			return B_NO_TRANSLATOR;
		_FillInfo(fInputs[1], outInfo);
		return B_OK;
	}

	if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
		return B_NO_TRANSLATOR;
	off_t position = source->Position();
	if (position < 0)
		return B_NO_TRANSLATOR;
	QByteArray head(qsizetype(kIdentifyBytes), Qt::Uninitialized);
	ssize_t count = source->ReadAt(position, head.data(), kIdentifyBytes);
	if (count <= 0)
		return B_NO_TRANSLATOR;
	head.truncate(qsizetype(count));
	if (!CanDecode(head, fFormat))
		return B_NO_TRANSLATOR;
	_FillInfo(fInputs[0], outInfo);
	return B_OK;
}

status_t QtImageTranslator::Translate(BPositionIO* source, const translator_info*,
	BMessage* ioExtension, uint32 outType, BPositionIO* destination)
{
	if (source == nullptr || destination == nullptr)
		return B_BAD_VALUE;
	TranslatorBitmap header;
	status_t bitmapStatus = PeekBitmapHeader(source, &header);
	if (bitmapStatus != B_NO_TRANSLATOR) {
		if (!fWritable || (outType != 0 && outType != fType))
			return B_NO_TRANSLATOR;
		if (bitmapStatus != B_OK)
			return bitmapStatus == B_NO_MEMORY ? B_NO_MEMORY : B_ILLEGAL_DATA;
		return _Encode(source, destination);
	}
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
		return B_NO_TRANSLATOR;
	return _Decode(source, destination, ioExtension);
}

status_t QtImageTranslator::_Decode(
	BPositionIO* source, BPositionIO* destination, BMessage* ioExtension)
{
	const DecodeRequest request = ReadDecodeRequest(ioExtension);
	DecodeReport report;
	status_t status = B_NO_TRANSLATOR;
	bool handled = false;
	// JPEG photos are what the program opens most, and the largest: the kit reads them
	// itself, straight into the bitmap.
	if (fFormat == kJpegFormat)
		status = DecodeJpeg(source, destination, request, &report, &handled);
	if (!handled)
		status = DecodeWithPlugin(source, fFormat, destination, request, &report);
	if (status == B_OK)
		WriteDecodeReport(report, ioExtension);
	return status;
}

status_t QtImageTranslator::_Encode(BPositionIO* source, BPositionIO* destination)
{
	TranslatorBitmap header;
	status_t status = PeekBitmapHeader(source, &header);
	if (status != B_OK)
		return B_ILLEGAL_DATA;
	// PNG has a writer of its own that is much faster than the plug-in's (PngWriter.h).
	if (fFormat == "png")
		return WritePng(source, header, destination);
	// WebP too: the plug-in holds the picture three times over (WebpWriter.h).
	if (fFormat == "webp")
		return WriteWebp(source, header, destination);

	// A whole bitmap is encoded where it lies; only other streams are read into a copy.
	std::optional<QImage> image = ImageInPlace(source, header);
	if (!image) {
		status = ReadImage(source, header, &image);
		if (status != B_OK)
			return status;
	}
	return EncodeImage(*image, fFormat, destination);
}

} // namespace kit
