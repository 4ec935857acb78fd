// A named location in the file system: a directory that exists and a leaf name in it. The
// leaf itself need not exist (such an entry can be created later); a path whose directory
// does not exist gives no entry at all. Without traversal a symbolic link is the entry
// itself, not what it points to.
#pragma once

#include "EntryRef.h"
#include "StorageDefs.h"

class BPath;

class BEntry {
public:
	BEntry();
	// Relative paths are taken against the current directory.
	BEntry(const char* path, bool traverse = false);
	BEntry(const entry_ref* ref, bool traverse = false);
	~BEntry();

	status_t SetTo(const char* path, bool traverse = false);
	status_t SetTo(const entry_ref* ref, bool traverse = false);
	void Unset();
	status_t InitCheck() const { return fStatus; }

	// Whether something (anything, even a dangling link) is there now.
	bool Exists() const;
	bool IsFile() const;
	bool IsDirectory() const;
	bool IsSymLink() const;

	// On failure these leave their argument as it was.
	status_t GetRef(entry_ref* ref) const;
	status_t GetPath(BPath* path) const;
	// name must hold B_FILE_NAME_LENGTH bytes.
	status_t GetName(char* name) const;
	status_t GetParent(BEntry* parent) const;

	bool operator==(const BEntry& other) const;
	bool operator!=(const BEntry& other) const { return !(*this == other); }

private:
	int32 _Flavor() const;

	entry_ref fRef;
	status_t fStatus;
};
