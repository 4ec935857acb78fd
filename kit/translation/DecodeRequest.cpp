#include "DecodeRequest.h"

#include "Message.h"
#include "TranslationDefs.h"

namespace kit {

DecodeRequest ReadDecodeRequest(const BMessage* ioExtension)
{
	DecodeRequest request;
	if (ioExtension == nullptr)
		return request;
	bool headerOnly = false;
	if (ioExtension->FindBool(B_TRANSLATOR_EXT_HEADER_ONLY, &headerOnly) == B_OK)
		request.headerOnly = headerOnly;
	int32 least = 0;
	if (ioExtension->FindInt32(B_TRANSLATOR_EXT_BITMAP_LEAST_WIDTH, &least) == B_OK) {
		request.reduce = true;
		request.leastWidth = least > 0 ? least : 0;
	}
	if (ioExtension->FindInt32(B_TRANSLATOR_EXT_BITMAP_LEAST_HEIGHT, &least) == B_OK) {
		request.reduce = true;
		request.leastHeight = least > 0 ? least : 0;
	}
	return request;
}

void WriteDecodeReport(const DecodeReport& report, BMessage* ioExtension)
{
	if (ioExtension == nullptr)
		return;
	ioExtension->RemoveName(B_TRANSLATOR_EXT_BITMAP_RECT);
	ioExtension->RemoveName(B_TRANSLATOR_EXT_DATE_TAKEN);
	ioExtension->AddRect(
		B_TRANSLATOR_EXT_BITMAP_RECT, BRect(0, 0, report.width - 1, report.height - 1));
	if (report.dateTaken != 0)
		ioExtension->AddInt32(B_TRANSLATOR_EXT_DATE_TAKEN, report.dateTaken);
}

int32 DateNumber(int32 year, int32 month, int32 day)
{
	return year == 0 ? 0 : year * 10000 + month * 100 + day;
}

} // namespace kit
