#include "TempDirectory.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

TempDirectory::TempDirectory()
{
	std::string pattern = (std::filesystem::temp_directory_path() / "dorva-test-XXXXXX").string();
	if (mkdtemp(pattern.data()) == nullptr)
		throw std::runtime_error("cannot create a temporary directory");
	// Canonical, so that paths the kit resolves compare equal to ours.
	fPath = std::filesystem::canonical(pattern);
}

TempDirectory::~TempDirectory()
{
	std::error_code ignored;
	std::filesystem::remove_all(fPath, ignored);
}

std::string TempDirectory::WriteFile(const std::string& name, const std::string& contents) const
{
	std::string path = Child(name);
	std::ofstream out(path, std::ios::binary | std::ios::trunc);
	out.write(contents.data(), std::streamsize(contents.size()));
	return path;
}

std::vector<std::string> TempDirectory::Names() const
{
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator(fPath))
		names.push_back(entry.path().filename().string());
	std::sort(names.begin(), names.end());
	return names;
}

std::string ReadWholeFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream contents;
	contents << in.rdbuf();
	return contents.str();
}
