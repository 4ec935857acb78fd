// The files a run reads, known by their identity (device and inode), so that no result is
// ever written over one of them, by whatever name or link the result is reached.
#pragma once

#include <sys/types.h>

#include <set>
#include <string>
#include <utility>

class input_files {
public:
	// Remembers the file at path; a path that names no file is left out.
	void add(const std::string& path);
	// Whether path names one of the files added.
	bool contains(const std::string& path) const;

private:
	std::set<std::pair<dev_t, ino_t>> fFiles;
};
