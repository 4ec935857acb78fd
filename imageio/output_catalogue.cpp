#include "output_catalogue.h"

#include <cstring>

#include "Bitmap.h"
#include "BitmapStream.h"

int32 s_xlt::live = 0;

// The roster is asked which translators can read a bitmap of this size; its pixels do not
// matter.
static const BRect kProbeBounds(0, 0, 7, 7);

// The catalogue's fields are as wide as the roster's, so a copy always fits; the bound
// only guards against a format whose text lacks its terminator.
static void copy_text(char (&to)[B_MIME_STRING_LENGTH], const char (&from)[B_MIME_STRING_LENGTH])
{
	size_t length = strnlen(from, B_MIME_STRING_LENGTH - 1);
	std::memcpy(to, from, length);
	to[length] = '\0';
}

void fill_output_catalogue()
{
	BBitmap probe(kProbeBounds, B_RGB32);
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

void free_output_catalogue()
{
	for (int32 i = 0; xlt.ItemAt(i) != nullptr; i++)
		delete static_cast<s_xlt*>(xlt.ItemAt(i));
	xlt.MakeEmpty();
}

uint32 catalogue_type_for(const char* mime)
{
	for (int32 i = 0; i < trc; i++) {
		auto* record = static_cast<const s_xlt*>(xlt.ItemAt(i));
		if (record != nullptr && std::strcmp(record->mime, mime) == 0)
			return record->type;
	}
	return 0;
}

const char* output_mime_for_extension(const char* extension)
{
	static const struct {
		const char* extension;
		const char* mime;
	} kExtensions[] = {
		{"png", "image/png"},
		{"jpg", "image/jpeg"},
		{"jpeg", "image/jpeg"},
		{"tif", "image/tiff"},
		{"tiff", "image/tiff"},
		{"webp", "image/webp"},
		{"bmp", "image/bmp"},
	};
	for (const auto& known : kExtensions) {
		if (std::strcmp(known.extension, extension) == 0)
			return known.mime;
	}
	return nullptr;
}
