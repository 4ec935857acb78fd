// Image files as the program opens them: a file read through the system's translator
// roster into a bitmap stream, and the bitmap detached from it, as the canvas's load does.
#include <cstdio>
#include <string>

#include "BitmapStream.h"
#include "File.h"
#include "FuzzSupport.h"
#include "Message.h"
#include "TranslatorRoster.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	// The roster is built once, with the image plug-ins the system offers.
	if (BTranslatorRoster::Default() == nullptr) {
		std::fprintf(stderr, "image_roster_fuzz: no translator roster\n");
		return 1;
	}
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	// A real file, so that the roster reads through BFile as it does for a picture opened
	// by name.
	static const std::string path = fuzz::ScratchFolder() + "/picture";
	std::FILE* out = std::fopen(path.c_str(), "wb");
	fuzz::Require(out != nullptr, "the scratch file can be written");
	if (size > 0)
		std::fwrite(data, 1, size, out);
	std::fclose(out);

	BFile file(path.c_str(), B_READ_ONLY);
	fuzz::Require(file.InitCheck() == B_OK, "the scratch file opens");
	// First what the file tells of itself without its pixels, as a calendar's pages ask
	// before decoding; the EXIF date must be a real day.
	BMessage facts;
	facts.AddBool(B_TRANSLATOR_EXT_HEADER_ONLY, true);
	BMallocIO header;
	if (BTranslatorRoster::Default()->Translate(
			&file, nullptr, &facts, &header, B_TRANSLATOR_BITMAP, 0, nullptr)
		== B_OK) {
		BRect bounds;
		fuzz::Require(
			facts.FindRect(B_TRANSLATOR_EXT_BITMAP_RECT, &bounds) == B_OK && bounds.IsValid(),
			"the facts name the picture's bounds");
		int32 date = 0;
		if (facts.FindInt32(B_TRANSLATOR_EXT_DATE_TAKEN, &date) == B_OK) {
			int32 month = date / 100 % 100, day = date % 100;
			fuzz::Require(date / 10000 >= 1 && month >= 1 && month <= 12 && day >= 1 && day <= 31,
				"the day taken is a date");
		}
	}
	file.Seek(0, SEEK_SET);

	BBitmapStream stream;
	status_t status = BTranslatorRoster::Default()->Translate(
		&file, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP, 0, nullptr);
	BBitmap* picture = nullptr;
	if (status == B_OK)
		status = stream.DetachBitmap(&picture);
	if (fuzz::Verbose()) {
		std::fprintf(stderr, "image_roster_fuzz: %zu bytes: status %d, %d x %d\n", size,
			int(status), picture ? int(picture->PixelWidth()) : 0,
			picture ? int(picture->PixelHeight()) : 0);
	}
	if (status != B_OK)
		return 0;
	fuzz::Require(picture != nullptr, "a detached bitmap exists");
	fuzz::CheckPicture(*picture);
	delete picture;
	return 0;
}
