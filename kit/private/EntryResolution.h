// How the storage classes turn a path into an entry_ref: the path is made absolute against
// the current directory, its directory part is resolved through the file system (symbolic
// links, "." and "..") and the last component stays as the leaf name, which need not exist.
#pragma once

#include <string>

#include "EntryRef.h"
#include "StorageDefs.h"

namespace kit {

// B_OK and *ref set; B_BAD_VALUE for an empty path or an overlong leaf; B_ENTRY_NOT_FOUND
// when the directory part does not exist (or, for a path ending in "." or "..", the path
// itself); B_NOT_A_DIRECTORY when the directory part is a file. With traverse, a leaf that
// is a symbolic link is replaced by what it points to. *ref is only written on success.
status_t ResolveEntry(const std::string& path, bool traverse, entry_ref* ref);

// A leaf name that can be created inside a directory: not empty, no '/', not "." or "..",
// shorter than B_FILE_NAME_LENGTH.
bool IsValidLeafName(const char* leaf);

// The kind of node at path without following a final symbolic link: one of B_FILE_NODE,
// B_SYMLINK_NODE, B_DIRECTORY_NODE, or 0 when nothing is there.
int32 NodeFlavorAt(const std::string& path);

} // namespace kit
