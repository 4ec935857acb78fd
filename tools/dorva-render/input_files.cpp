#include "input_files.h"

#include <sys/stat.h>

namespace {

bool identity_of(const std::string& path, std::pair<dev_t, ino_t>* identity)
{
	struct stat status;
	if (stat(path.c_str(), &status) != 0)
		return false;
	*identity = {status.st_dev, status.st_ino};
	return true;
}

} // namespace

void input_files::add(const std::string& path)
{
	std::pair<dev_t, ino_t> identity;
	if (identity_of(path, &identity))
		fFiles.insert(identity);
}

bool input_files::contains(const std::string& path) const
{
	std::pair<dev_t, ino_t> identity;
	return identity_of(path, &identity) && fFiles.count(identity) != 0;
}
