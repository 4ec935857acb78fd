#include "QtImageTranslator.h"

#include <cstring>
#include <exception>
#include <vector>

#include "BitmapStreamFormat.h"
#include "BitmapStreamIO.h"
#include "BitsTranslator.h"
#include "ImageCodec.h"
#include "JpegDecoder.h"
#include "PixelConversion.h"
#include "PluginDecoder.h"
#include "PngWriter.h"
#include "Utf8Text.h"

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

status_t QtImageTranslator::Translate(BPositionIO* source, const translator_info*, BMessage*,
	uint32 outType, BPositionIO* destination)
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
	return _Decode(source, destination);
}

status_t QtImageTranslator::_Decode(BPositionIO* source, BPositionIO* destination)
{
	// JPEG photos are what the program opens most, and the largest: the kit reads them
	// itself, straight into the bitmap.
	if (fFormat == kJpegFormat) {
		bool handled = false;
		status_t status = DecodeJpeg(source, destination, &handled);
		if (handled)
			return status;
	}
	return DecodeWithPlugin(source, fFormat, destination);
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

	int32 width = HeaderWidth(header);
	int32 height = HeaderHeight(header);
	color_space space = color_space(header.colors);
	// Only B_RGBA32 carries alpha; in B_RGB32 the fourth byte means nothing.
	bool hasAlpha = space == B_RGBA32;
	QImage image(width, height, hasAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
	if (image.isNull())
		return B_NO_MEMORY;

	status = ReadBGRARows(source, header, [&](int32 y, const uint8* in) {
		QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
		for (int32 x = 0; x < width; x++, in += kBGRABytes) {
			line[x] =
				qRgba(in[kRedByte], in[kGreenByte], in[kBlueByte], hasAlpha ? in[kAlphaByte] : 255);
		}
		return status_t(B_OK);
	});
	if (status != B_OK)
		return status;

	QByteArray encoded;
	status = EncodeImage(image, fFormat, &encoded);
	if (status != B_OK)
		return status;
	return WriteAll(destination, encoded.constData(), size_t(encoded.size()));
}

} // namespace kit
