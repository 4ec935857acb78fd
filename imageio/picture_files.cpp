#include "picture_files.h"

#include "AppFileInfo.h"
#include "BitmapStream.h"
#include "tr.h"

status_t read_picture(BFile* file, BBitmap** picture)
{
	if (tr == nullptr)
		return B_NO_TRANSLATOR;
	status_t status = file->InitCheck();
	if (status != B_OK)
		return status;
	BBitmapStream stream;
	status = tr->Translate(file, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP, 0, nullptr);
	if (status != B_OK)
		return status;
	BBitmap* decoded = nullptr;
	status = stream.DetachBitmap(&decoded);
	if (status != B_OK || decoded == nullptr)
		return status != B_OK ? status : B_NO_TRANSLATOR;
	*picture = decoded;
	return B_OK;
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
