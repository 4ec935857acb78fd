// A directory of the file system, and the place where new files are made.
#pragma once

#include <string>

#include "EntryRef.h"
#include "Node.h"

class BEntry;
class BFile;

class BDirectory : public BNode {
public:
	BDirectory();
	BDirectory(const entry_ref* ref);
	BDirectory(const char* path);
	~BDirectory() override;

	// A missing path gives B_ENTRY_NOT_FOUND, a file B_NOT_A_DIRECTORY.
	status_t SetTo(const entry_ref* ref);
	status_t SetTo(const char* path);
	void Unset() override;

	status_t GetEntry(BEntry* entry) const;

	// Whether the entry at path (relative to this directory, or absolute) lies inside this
	// directory, at any depth, and is of one of the kinds in nodeFlags.
	bool Contains(const char* path, int32 nodeFlags = B_ANY_NODE) const;
	bool Contains(const BEntry* entry, int32 nodeFlags = B_ANY_NODE) const;

	// Sets file up as a safe-write file for the entry leaf in this directory: nothing on
	// disk changes until file->Commit(), which then replaces any file of that name whole.
	// leaf must be a plain name (not empty, no '/', not "." or ".."): B_BAD_VALUE otherwise.
	// failIfExists refuses an existing entry with B_FILE_EXISTS; a directory of that name
	// gives B_IS_A_DIRECTORY. With file null, the file is created empty if it is missing and
	// an existing one is left alone.
	status_t CreateFile(const char* leaf, BFile* file, bool failIfExists = false);

private:
	std::string fPath;
};
