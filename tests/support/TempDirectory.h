// A fresh directory under the system's temporary directory, removed with everything in it
// when the object goes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class TempDirectory {
public:
	TempDirectory();
	~TempDirectory();
	TempDirectory(const TempDirectory&) = delete;
	TempDirectory& operator=(const TempDirectory&) = delete;

	const std::filesystem::path& Path() const { return fPath; }
	std::string Child(const std::string& name) const { return (fPath / name).string(); }

	// Writes a file with the given bytes; returns its path.
	std::string WriteFile(const std::string& name, const std::string& contents) const;
	// The names in the directory, sorted.
	std::vector<std::string> Names() const;

private:
	std::filesystem::path fPath;
};

// Reads a whole file; "" when it cannot be read.
std::string ReadWholeFile(const std::string& path);
