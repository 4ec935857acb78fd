#include "EntryRef.h"

std::string entry_ref::Path() const
{
	if (!IsSet())
		return std::string();
	// The root directory is the one entry that names its directory itself.
	if (name == ".")
		return directory;
	if (directory.back() == '/')
		return directory + name;
	return directory + "/" + name;
}
