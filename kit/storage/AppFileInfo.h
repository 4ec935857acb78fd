// The file-type information of an open file. The MIME type lives in the extended attribute
// "user.mime_type", the shared MIME convention of Linux desktops, so file managers see it.
#pragma once

#include "StorageDefs.h"

class BFile;

class BAppFileInfo {
public:
	BAppFileInfo();
	// The file stays the caller's and must outlive this object.
	explicit BAppFileInfo(BFile* file);
	~BAppFileInfo();

	status_t SetTo(BFile* file);
	status_t InitCheck() const { return fStatus; }

	// type is a MIME type such as "image/png". Written through the open descriptor, so it
	// also works on a safe-write file before Commit() and moves with it into place.
	// B_UNSUPPORTED when the file system keeps no extended attributes.
	status_t SetType(const char* type);
	// type must hold B_MIME_TYPE_LENGTH bytes. B_ENTRY_NOT_FOUND when no type is set.
	status_t GetType(char* type) const;

private:
	BFile* fFile;
	status_t fStatus;
};
