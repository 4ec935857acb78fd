#include <cstring>

#include "Bitmap.h"
#include "BitmapStream.h"
#include "dorvawindow.h"
#include "output_catalogue.h"

BTranslatorRoster* tr = nullptr;
BList xlt(20);
int32 trc = 0;
int32 s_xlt::live = 0;

static void copy_text(char (&to)[B_MIME_STRING_LENGTH], const char* from)
{
	size_t length = strnlen(from, B_MIME_STRING_LENGTH - 1);
	std::memcpy(to, from, length);
	to[length] = '\0';
}

void dorvawindow::get_translator_for_output()
{
	// Ask which translators can read an 8 x 8 bitmap; its pixels do not matter.
	BBitmap probe(BRect(0, 0, 7, 7), B_RGB32);
	BBitmap* lent = new BBitmap(probe);
	BBitmapStream probeStream(lent);

	translator_info* translators = nullptr;
	int32 count = 0;
	if (tr == nullptr
		|| tr->GetTranslators(&probeStream, nullptr, &translators, &count, 0, nullptr, 0) != B_OK)
		count = 0;

	for (int32 i = 0; i < count; i++) {
		const translation_format* formats = nullptr;
		int32 formatCount = 0;
		if (tr->GetOutputFormats(translators[i].translator, &formats, &formatCount) != B_OK)
			continue;
		for (int32 j = 0; j < formatCount; j++) {
			const translation_format& format = formats[j];
			if (format.type == B_TRANSLATOR_BITMAP || format.type == kSkippedFormatMhi)
				continue;
			auto* record = new s_xlt;
			record->type = format.type;
			copy_text(record->name, format.name);
			copy_text(record->mime, format.MIME);
			if (format.type == kPreferredFormatTga)
				xlt.AddItem(record, 0);
			else
				xlt.AddItem(record);
			trc++;
		}
	}
	delete[] translators;
}
