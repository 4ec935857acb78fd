// An entry_ref names a file system entry by the absolute path of its directory and its
// leaf name. The entry itself need not exist. A default-constructed ref names nothing.
#pragma once

#include <string>

#include "SupportDefs.h"

struct entry_ref {
	std::string directory; // absolute path of the directory holding the entry
	std::string name;      // leaf name; empty for the default ref

	entry_ref() = default;
	entry_ref(const std::string& directoryPath, const std::string& leafName)
		: directory(directoryPath), name(leafName)
	{
	}

	// True when the ref names an entry (it has a leaf name and a directory).
	bool IsSet() const { return !name.empty() && !directory.empty(); }
	// The full path, or "" when the ref names nothing.
	std::string Path() const;

	bool operator==(const entry_ref& other) const
	{
		return directory == other.directory && name == other.name;
	}
	bool operator!=(const entry_ref& other) const { return !(*this == other); }
};
