#include "SmallDisk.h"

#include <sys/mount.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

SmallDisk::SmallDisk(size_t bytes) : fMounted(false)
{
	const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
	if (::mount(
			"dorva-test", fFolder.Path().c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str())
		== 0)
		fMounted = true;
	else
		fWhy = std::string("cannot mount a small tmpfs here: ") + std::strerror(errno);
}

SmallDisk::~SmallDisk()
{
	if (fMounted)
		::umount2(fFolder.Path().c_str(), MNT_DETACH);
}

void SmallDisk::Fill() const
{
	FILE* filler = std::fopen(Child("filler").c_str(), "wb");
	if (filler == nullptr)
		return;
	std::vector<char> block(4096, 'f');
	while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
	}
	std::fclose(filler);
	// What stdio kept back when the disk filled is lost; a byte at a time takes the rest.
	filler = std::fopen(Child("filler").c_str(), "ab");
	if (filler == nullptr)
		return;
	std::setvbuf(filler, nullptr, _IONBF, 0);
	while (std::fputc('f', filler) != EOF) {
	}
	std::fclose(filler);
}
