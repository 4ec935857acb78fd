#include "BitsTranslator.h"

#include <cstring>

#include "BitmapLimits.h"
#include "BitmapStreamFormat.h"
#include "BitmapStreamIO.h"
#include "DecodeRequest.h"
#include "PictureTarget.h"
#include "PixelConversion.h"

namespace kit {

translation_format BitmapStreamFormat(float quality, float capability)
{
	translation_format format = {};
	format.type = B_TRANSLATOR_BITMAP;
	format.group = B_TRANSLATOR_BITMAP;
	format.quality = quality;
	format.capability = capability;
	std::strncpy(format.MIME, B_BITMAP_MIME_TYPE, sizeof(format.MIME) - 1);
	std::strncpy(format.name, "Bitmap stream", sizeof(format.name) - 1);
	return format;
}

BitsTranslator::BitsTranslator() : fFormat(BitmapStreamFormat(0.3f, 0.5f))
{
}

const char* BitsTranslator::TranslatorName() const
{
	return "Bitmap stream translator";
}

const char* BitsTranslator::TranslatorInfo() const
{
	return "Checks bitmap stream data and passes it on as 32-bit RGB";
}

const translation_format* BitsTranslator::InputFormats(int32* count) const
{
	if (count != nullptr)
		*count = 1;
	return &fFormat;
}

const translation_format* BitsTranslator::OutputFormats(int32* count) const
{
	if (count != nullptr)
		*count = 1;
	return &fFormat;
}

status_t BitsTranslator::Identify(BPositionIO* source, const translation_format*, BMessage*,
	translator_info* outInfo, uint32 outType)
{
	if (source == nullptr || outInfo == nullptr)
		return B_BAD_VALUE;
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
		return B_NO_TRANSLATOR;
	TranslatorBitmap header;
	if (PeekBitmapHeader(source, &header) != B_OK)
		return B_NO_TRANSLATOR;
	*outInfo = translator_info{};
	outInfo->type = fFormat.type;
	outInfo->group = fFormat.group;
	outInfo->quality = fFormat.quality;
	outInfo->capability = fFormat.capability;
	std::memcpy(outInfo->name, fFormat.name, sizeof(outInfo->name));
	std::memcpy(outInfo->MIME, fFormat.MIME, sizeof(outInfo->MIME));
	return B_OK;
}

status_t BitsTranslator::Translate(BPositionIO* source, const translator_info*,
	BMessage* ioExtension, uint32 outType, BPositionIO* destination)
{
	if (source == nullptr || destination == nullptr)
		return B_BAD_VALUE;
	if (outType != 0 && outType != B_TRANSLATOR_BITMAP)
		return B_NO_TRANSLATOR;
	TranslatorBitmap header;
	status_t status = PeekBitmapHeader(source, &header);
	if (status == B_NO_TRANSLATOR)
		return B_NO_TRANSLATOR;
	if (status != B_OK)
		return status == B_NO_MEMORY ? B_NO_MEMORY : B_ILLEGAL_DATA;

	// The rows must be there before memory is set aside for them; then they go straight
	// into the picture's bitmap, converted on the way.
	status = CheckRowsArrived(source, header);
	if (status == B_OK)
		status = CheckPictureSize(HeaderWidth(header), HeaderHeight(header), header.dataSize);
	DecodeReport report;
	report.width = HeaderWidth(header);
	report.height = HeaderHeight(header);
	if (status == B_OK && ReadDecodeRequest(ioExtension).headerOnly) {
		status = WriteRGB32Header(destination, report.width, report.height);
		if (status == B_OK)
			WriteDecodeReport(report, ioExtension);
		return status;
	}
	PictureTarget target(destination);
	if (status == B_OK)
		status = target.Start(HeaderWidth(header), HeaderHeight(header), kOrientationNormal);
	if (status == B_OK)
		status = ReadRowsAsBGRA(source, header, [&](int32 y) { return target.Row(y); });
	if (status != B_OK)
		return status == B_NO_MEMORY || status == B_IO_ERROR ? status : B_ILLEGAL_DATA;
	status = target.Finish();
	if (status == B_OK)
		WriteDecodeReport(report, ioExtension);
	return status;
}

} // namespace kit
