#include "picture_files.h"

#include "AppFileInfo.h"
#include "BitmapResampling.h"
#include "BitmapStream.h"
#include "Message.h"
#include "tr.h"

namespace {

// Decodes the file as the translators are asked to by request (null: the whole picture).
status_t decode(BFile* file, BMessage* request, BBitmap** picture)
{
	if (tr == nullptr)
		return B_NO_TRANSLATOR;
	status_t status = file->InitCheck();
	if (status != B_OK)
		return status;
	BBitmapStream stream;
	status = tr->Translate(file, nullptr, request, &stream, B_TRANSLATOR_BITMAP, 0, nullptr);
	if (status != B_OK)
		return status;
	BBitmap* decoded = nullptr;
	status = stream.DetachBitmap(&decoded);
	if (status != B_OK || decoded == nullptr)
		return status != B_OK ? status : B_NO_TRANSLATOR;
	*picture = decoded;
	return B_OK;
}

} // namespace

status_t read_picture(BFile* file, BBitmap** picture)
{
	return decode(file, nullptr, picture);
}

status_t read_picture_facts(BFile* file, picture_facts* facts)
{
	if (tr == nullptr)
		return B_NO_TRANSLATOR;
	status_t status = file->InitCheck();
	if (status != B_OK)
		return status;
	// From the start, whatever was read of the file before.
	file->Seek(0, SEEK_SET);
	BMessage request;
	request.AddBool(B_TRANSLATOR_EXT_HEADER_ONLY, true);
	BMallocIO header;
	status = tr->Translate(file, nullptr, &request, &header, B_TRANSLATOR_BITMAP, 0, nullptr);
	if (status != B_OK)
		return status;
	BRect bounds;
	if (request.FindRect(B_TRANSLATOR_EXT_BITMAP_RECT, &bounds) != B_OK || !bounds.IsValid())
		return B_NO_TRANSLATOR;
	picture_facts found;
	found.width = int32(bounds.Width()) + 1;
	found.height = int32(bounds.Height()) + 1;
	int32 date = 0;
	if (request.FindInt32(B_TRANSLATOR_EXT_DATE_TAKEN, &date) == B_OK && date > 0) {
		found.has_date = true;
		found.year = date / 10000;
		found.month = date / 100 % 100;
		found.day = date % 100;
	}
	*facts = found;
	return B_OK;
}

status_t read_picture_at_least(BFile* file, int32 minWidth, int32 minHeight, BBitmap** picture)
{
	BMessage request;
	request.AddInt32(B_TRANSLATOR_EXT_BITMAP_LEAST_WIDTH, minWidth);
	request.AddInt32(B_TRANSLATOR_EXT_BITMAP_LEAST_HEIGHT, minHeight);
	file->Seek(0, SEEK_SET);
	return decode(file, &request, picture);
}

BBitmap* resample_picture(const BBitmap* source, BRect sourceRect, int32 width, int32 height)
{
	return resample_bitmap(source, sourceRect, width, height);
}

status_t write_picture(
	BBitmap* picture, BDirectory* folder, const char* name, uint32 type, const char* mime)
{
	if (tr == nullptr)
		return B_NO_TRANSLATOR;
	BFile file;
	status_t status = folder->CreateFile(name, &file, false);
	if (status != B_OK)
		return status;

	BBitmapStream stream(picture);
	status = tr->Translate(&stream, nullptr, nullptr, &file, type, 0, nullptr);
	BBitmap* lent = nullptr;
	stream.DetachBitmap(&lent);
	if (status != B_OK)
		return status;

	BAppFileInfo info(&file);
	info.SetType(mime);
	return file.Commit();
}
