// A real, small file system for the tests of a full disk: a tmpfs of a few hundred KiB
// mounted on a fresh folder, unmounted with everything in it when the object goes. Mounting
// needs the superuser (CI runs as root); where it fails, Mounted() is false and the test
// skips with Why().
#pragma once

#include <string>

#include "TempDirectory.h"

class SmallDisk {
public:
	explicit SmallDisk(size_t bytes);
	~SmallDisk();
	SmallDisk(const SmallDisk&) = delete;
	SmallDisk& operator=(const SmallDisk&) = delete;

	bool Mounted() const { return fMounted; }
	const std::string& Why() const { return fWhy; }
	std::string Child(const std::string& name) const { return fFolder.Child(name); }
	// Takes every byte left with a file named "filler", so that the next write fails.
	void Fill() const;

private:
	TempDirectory fFolder;
	bool fMounted;
	std::string fWhy;
};
