// An absolute path as text. A path that is already absolute and plain (no ".", ".." or
// doubled slashes) is taken as it is, existing or not; anything else is normalized through
// the file system, which needs its directory part to exist.
#pragma once

#include <string>

#include "EntryRef.h"
#include "StorageDefs.h"

class BEntry;

class BPath {
public:
	BPath();
	BPath(const char* path, const char* leaf = nullptr, bool normalize = false);
	BPath(const entry_ref* ref);
	BPath(const BEntry* entry);
	BPath(const BPath& other) = default;
	BPath& operator=(const BPath& other) = default;
	~BPath();

	// leaf, when given, is appended to path and must be relative.
	status_t SetTo(const char* path, const char* leaf = nullptr, bool normalize = false);
	status_t SetTo(const entry_ref* ref);
	status_t SetTo(const BEntry* entry);
	void Unset();
	status_t InitCheck() const { return fStatus; }

	// Null while the path is not initialised.
	const char* Path() const;
	// The last component; "" for the root directory, null while uninitialised.
	const char* Leaf() const;
	status_t GetParent(BPath* parent) const;
	status_t Append(const char* leaf, bool normalize = false);

	bool operator==(const BPath& other) const;
	bool operator!=(const BPath& other) const { return !(*this == other); }

private:
	std::string fPath;
	status_t fStatus;
};
