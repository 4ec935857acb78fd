#include "ScratchFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ErrnoStatus.h"
#include "SeekTarget.h"

namespace kit {

ScratchFile::ScratchFile(const char* folder) : fDescriptor(-1), fStatus(B_OK), fPosition(0)
{
	if (folder != nullptr && *folder != '\0')
		fDescriptor = ::open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
	// A folder that takes no unnamed file (the user may not write it, or its file system
	// has none) leaves memory.
	if (fDescriptor < 0)
		fDescriptor = ::memfd_create("scratch", MFD_CLOEXEC);
	if (fDescriptor < 0)
		fStatus = StatusFromErrno(errno);
}

ScratchFile::~ScratchFile()
{
	if (fDescriptor >= 0)
		::close(fDescriptor);
}

ssize_t ScratchFile::ReadAt(off_t position, void* buffer, size_t size)
{
	if (fStatus != B_OK)
		return fStatus;
	ssize_t result;
	do {
		result = ::pread(fDescriptor, buffer, size, position);
	} while (result < 0 && errno == EINTR);
	return result < 0 ? StatusFromErrno(errno) : result;
}

ssize_t ScratchFile::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fStatus != B_OK)
		return fStatus;
	const char* data = static_cast<const char*>(buffer);
	for (size_t done = 0; done < size;) {
		ssize_t result = ::pwrite(fDescriptor, data + done, size - done, position + off_t(done));
		if (result < 0 && errno == EINTR)
			continue;
		if (result <= 0)
			return result < 0 ? StatusFromErrno(errno) : B_IO_ERROR;
		done += size_t(result);
	}
	return ssize_t(size);
}

off_t ScratchFile::Seek(off_t position, uint32 seekMode)
{
	off_t target =
		SeekTarget(position, seekMode, fPosition, [this](off_t* size) { return GetSize(size); });
	if (target >= 0)
		fPosition = target;
	return target;
}

status_t ScratchFile::SetSize(off_t size)
{
	if (fStatus != B_OK)
		return fStatus;
	return ::ftruncate(fDescriptor, size) == 0 ? B_OK : StatusFromErrno(errno);
}

status_t ScratchFile::GetSize(off_t* size) const
{
	if (fStatus != B_OK)
		return fStatus;
	struct stat info;
	if (::fstat(fDescriptor, &info) != 0)
		return StatusFromErrno(errno);
	*size = info.st_size;
	return B_OK;
}

} // namespace kit
