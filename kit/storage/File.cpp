#include "File.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "ErrnoStatus.h"
#include "SeekTarget.h"
#include "TemporaryFiles.h"
#include "TestingHooks.h"

// A plain file is a descriptor used with pread/pwrite, which gives exact POSIX open
// semantics and errors. A safe-write file writes an unnamed temporary file in the final
// name's folder (O_TMPFILE), or a named one (temporary) on a file system that has no
// unnamed ones; Commit() syncs it, names it and renames it over the final name, which
// replaces a symbolic link there rather than the file it points to. Where the folder takes no
// temporary file but the file itself may be written, a safe-write file writes in place:
// its data waits in memory (stage, a memfd) and Commit() copies it over the file (fd),
// which keeps its inode, owner and permissions. Either way the first failed write is
// remembered (failure), and a file that saw one is never committed.
struct BFile::Private {
	int fd = -1;
	bool safeWrite = false; // beside the file, then renamed
	std::string temporary;  // its name; empty while it has none
	std::string final;
	int registration = -1;
	int stage = -1;
	status_t failure = B_OK;
	uint32 accessMode = B_READ_ONLY;
	bool append = false;
	off_t position = 0;

	~Private()
	{
		if (fd >= 0)
			::close(fd);
		if (stage >= 0)
			::close(stage);
		// An uncommitted temporary file is discarded.
		if (!temporary.empty())
			::unlink(temporary.c_str());
		kit::ForgetTemporaryFile(registration);
	}
};

namespace {

status_t status_from_errno(int error)
{
	return kit::StatusFromErrno(error);
}

// Writes all of size bytes at position, going on after short writes.
status_t write_fully(int fd, const void* buffer, size_t size, off_t position)
{
	const char* data = static_cast<const char*>(buffer);
	while (size > 0) {
		ssize_t result = ::pwrite(fd, data, size, position);
		if (result < 0 && errno == EINTR)
			continue;
		if (result <= 0)
			return result < 0 ? status_from_errno(errno) : B_IO_ERROR;
		data += result;
		size -= size_t(result);
		position += result;
	}
	return B_OK;
}

// Copies the first size bytes of one file over another, from the start.
status_t copy_contents(int from, int to, off_t size)
{
	std::vector<char> buffer;
	try {
		buffer.resize(1 << 20);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
	for (off_t done = 0; done < size;) {
		size_t want = size_t(std::min<off_t>(off_t(buffer.size()), size - done));
		ssize_t count = ::pread(from, buffer.data(), want, done);
		if (count < 0 && errno == EINTR)
			continue;
		if (count <= 0)
			return count < 0 ? status_from_errno(errno) : B_IO_ERROR;
		status_t status = write_fully(to, buffer.data(), size_t(count), done);
		if (status != B_OK)
			return status;
		done += count;
	}
	return B_OK;
}

off_t size_of(int fd)
{
	struct stat info;
	return ::fstat(fd, &info) == 0 ? info.st_size : -1;
}

// The permissions that the file written in the place of path gets: those of the file
// there, else those of a new file.
mode_t mode_for(const char* path)
{
	struct stat info;
	if (::lstat(path, &info) == 0 && S_ISREG(info.st_mode))
		return info.st_mode & 07777;
	mode_t mask = ::umask(0);
	::umask(mask);
	return 0666 & ~mask;
}

// A hidden name beside the final one, short enough for any leaf, whose XXXXXX mkstemp
// fills in.
std::string temporary_name_for(const std::string& final)
{
	const size_t slash = final.rfind('/');
	return final.substr(0, slash + 1) + "." + final.substr(slash + 1, 200) + ".XXXXXX";
}

std::string parent_of(const std::string& path)
{
	size_t slash = path.rfind('/');
	if (slash == std::string::npos)
		return ".";
	return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

BFile::BFile() : fPrivate(nullptr)
{
}

BFile::BFile(const entry_ref* ref, uint32 openMode) : fPrivate(nullptr)
{
	SetTo(ref, openMode);
}

BFile::BFile(const char* path, uint32 openMode) : fPrivate(nullptr)
{
	SetTo(path, openMode);
}

BFile::~BFile()
{
	delete fPrivate;
}

status_t BFile::SetTo(const entry_ref* ref, uint32 openMode)
{
	if (ref == nullptr || !ref->IsSet()) {
		Unset();
		return fInitStatus = B_BAD_VALUE;
	}
	return SetTo(ref->Path().c_str(), openMode);
}

status_t BFile::SetTo(const char* path, uint32 openMode)
{
	Unset();
	if (path == nullptr || path[0] == '\0')
		return fInitStatus = B_BAD_VALUE;

	uint32 access = openMode & B_ACCESS_MODE_MASK;
	int flags = O_CLOEXEC;
	switch (access) {
		case B_READ_ONLY:
			flags |= O_RDONLY;
			break;
		case B_WRITE_ONLY:
			flags |= O_WRONLY;
			break;
		case B_READ_WRITE:
			flags |= O_RDWR;
			break;
		default:
			return fInitStatus = B_BAD_VALUE;
	}
	if (openMode & B_CREATE_FILE) {
		flags |= O_CREAT;
		if (openMode & B_FAIL_IF_EXISTS)
			flags |= O_EXCL;
	}
	// Erasing needs write access; a read-only open never changes the file.
	if ((openMode & B_ERASE_FILE) && access != B_READ_ONLY)
		flags |= O_TRUNC;

	// Non-blocking only for the open itself: a FIFO in the file's place must not hang us
	// waiting for a writer. It is refused below like every node that is not a regular file.
	int fd = ::open(path, flags | O_NONBLOCK, 0666);
	if (fd < 0)
		return fInitStatus = status_from_errno(errno);
	struct stat info;
	bool known = ::fstat(fd, &info) == 0;
	if (!known || !S_ISREG(info.st_mode)) {
		::close(fd);
		if (!known)
			return fInitStatus = B_IO_ERROR;
		return fInitStatus = S_ISDIR(info.st_mode) ? B_IS_A_DIRECTORY : B_BAD_TYPE;
	}
	::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);

	fPrivate = new Private;
	fPrivate->fd = fd;
	fPrivate->accessMode = access;
	fPrivate->append = (openMode & B_OPEN_AT_END) != 0;
	return fInitStatus = B_OK;
}

status_t BFile::_SetToSafeWrite(const char* path)
{
	Unset();
	const std::string final(path);
	const std::string folder = parent_of(final);
	// A file its owner made read-only is not replaced behind their back.
	struct stat existing;
	if (::lstat(path, &existing) == 0 && S_ISREG(existing.st_mode) && ::access(path, W_OK) != 0
		&& errno == EACCES)
		return fInitStatus = B_PERMISSION_DENIED;
	std::string temporary;
	int fd = -1;
	int error = EACCES;
	if (!kit::hooks::RefuseTemporaryFiles()) {
		// An unnamed file in the folder, where the file system has them: nothing shows
		// until Commit() names it, and nothing is left whatever ends the process.
		if (!kit::hooks::UseNamedTemporaryFiles())
			fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
		error = errno;
		if (fd < 0
			&& (kit::hooks::UseNamedTemporaryFiles() || error == EOPNOTSUPP || error == EISDIR
				|| error == EINVAL)) {
			temporary = temporary_name_for(final);
			fd = ::mkostemp(temporary.data(), O_CLOEXEC);
			error = errno;
		}
	}
	if (fd < 0) {
		struct stat info;
		if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
			return fInitStatus = B_ENTRY_NOT_FOUND;
		if (error != EACCES && error != EPERM && error != EROFS)
			return fInitStatus = status_from_errno(error);
		// No temporary file beside it: an existing file that may be written is written in
		// place.
		status_t inPlace = _SetToWriteInPlace(path);
		if (inPlace == B_OK || inPlace == B_NO_MEMORY)
			return fInitStatus = inPlace;
		return fInitStatus = B_PERMISSION_DENIED;
	}
	fPrivate = new Private;
	fPrivate->fd = fd;
	fPrivate->safeWrite = true;
	fPrivate->temporary = temporary;
	fPrivate->final = final;
	if (!temporary.empty())
		fPrivate->registration = kit::RegisterTemporaryFile(temporary);
	fPrivate->accessMode = B_WRITE_ONLY;
	if (::fchmod(fd, mode_for(path)) != 0)
		fPrivate->failure = status_from_errno(errno);
	return fInitStatus = B_OK;
}

status_t BFile::_SetToWriteInPlace(const char* path)
{
	// Opened without truncation: nothing of the old file changes before Commit(). A
	// symbolic link is not followed: what it points to is not this folder's to replace.
	int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
	if (fd < 0)
		return status_from_errno(errno);
	struct stat info;
	if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
		::close(fd);
		return B_BAD_TYPE;
	}
	::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
	int stage = ::memfd_create("safe-write", MFD_CLOEXEC);
	if (stage < 0) {
		::close(fd);
		return B_NO_MEMORY;
	}
	fPrivate = new Private;
	fPrivate->fd = fd;
	fPrivate->stage = stage;
	fPrivate->accessMode = B_WRITE_ONLY;
	return B_OK;
}

void BFile::Unset()
{
	delete fPrivate;
	fPrivate = nullptr;
	BNode::Unset();
}

bool BFile::IsReadable() const
{
	return fPrivate != nullptr && fPrivate->accessMode != B_WRITE_ONLY;
}

bool BFile::IsWritable() const
{
	return fPrivate != nullptr && fPrivate->accessMode != B_READ_ONLY;
}

bool BFile::IsSafeWrite() const
{
	return fPrivate != nullptr && (fPrivate->safeWrite || fPrivate->stage >= 0);
}

ssize_t BFile::ReadAt(off_t position, void* buffer, size_t size)
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (!IsReadable())
		return B_NOT_ALLOWED;
	ssize_t result;
	do {
		result = ::pread(fPrivate->fd, buffer, size, position);
	} while (result < 0 && errno == EINTR);
	return result < 0 ? status_from_errno(errno) : result;
}

ssize_t BFile::WriteAt(off_t position, const void* buffer, size_t size)
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (buffer == nullptr || position < 0)
		return B_BAD_VALUE;
	if (!IsWritable())
		return B_NOT_ALLOWED;

	if (IsSafeWrite()) {
		// Written whole or not at all; a failure is remembered so that a damaged file is
		// never committed.
		const int fd = fPrivate->stage >= 0 ? fPrivate->stage : fPrivate->fd;
		status_t status = write_fully(fd, buffer, size, position);
		if (status != B_OK) {
			if (fPrivate->failure == B_OK)
				fPrivate->failure = status;
			return status;
		}
		return ssize_t(size);
	}

	ssize_t result;
	do {
		if (fPrivate->append)
			result = ::write(fPrivate->fd, buffer, size);
		else
			result = ::pwrite(fPrivate->fd, buffer, size, position);
	} while (result < 0 && errno == EINTR);
	return result < 0 ? status_from_errno(errno) : result;
}

off_t BFile::Seek(off_t position, uint32 seekMode)
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	off_t target = kit::SeekTarget(
		position, seekMode, fPrivate->position, [this](off_t* size) { return GetSize(size); });
	if (target < 0)
		return target;
	fPrivate->position = target;
	return target;
}

off_t BFile::Position() const
{
	return fPrivate == nullptr ? off_t(B_NO_INIT) : fPrivate->position;
}

status_t BFile::SetSize(off_t size)
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (size < 0)
		return B_BAD_VALUE;
	if (!IsWritable())
		return B_NOT_ALLOWED;
	const int fd = fPrivate->stage >= 0 ? fPrivate->stage : fPrivate->fd;
	if (::ftruncate(fd, size) == 0)
		return B_OK;
	status_t status = status_from_errno(errno);
	if (IsSafeWrite() && fPrivate->failure == B_OK)
		fPrivate->failure = status;
	return status;
}

status_t BFile::GetSize(off_t* size) const
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (size == nullptr)
		return B_BAD_VALUE;
	off_t found = size_of(fPrivate->stage >= 0 ? fPrivate->stage : fPrivate->fd);
	if (found < 0)
		return status_from_errno(errno);
	*size = found;
	return B_OK;
}

status_t BFile::Commit()
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (!IsSafeWrite())
		return B_OK;
	status_t status = fPrivate->failure;
	if (status == B_OK)
		status = fPrivate->stage >= 0 ? _CopyStageInPlace() : _RenameTemporary();
	Unset();
	return status;
}

// Puts the temporary file in the final name's place once all of it is on the disk: a
// failure on the way, the last one included, leaves the old file and removes the new.
status_t BFile::_RenameTemporary()
{
	Private& file = *fPrivate;
	if (::fsync(file.fd) != 0)
		return status_from_errno(errno);
	if (file.temporary.empty()) {
		status_t named = _NameUnnamedFile();
		if (named != B_OK)
			return named;
	}
	if (::rename(file.temporary.c_str(), file.final.c_str()) != 0)
		return status_from_errno(errno);
	file.temporary.clear();
	// The new name itself is made lasting too; a folder that cannot be synced (some file
	// systems refuse) changes nothing in what was written.
	int folder = ::open(parent_of(file.final).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
	if (folder >= 0) {
		::fsync(folder);
		::close(folder);
	}
	return B_OK;
}

// Gives an unnamed temporary file a hidden name beside the final one, from which it is
// renamed; the name is registered for the moment it exists.
status_t BFile::_NameUnnamedFile()
{
	Private& file = *fPrivate;
	const std::string self = "/proc/self/fd/" + std::to_string(file.fd);
	const std::string pattern = temporary_name_for(file.final);
	for (int attempt = 0; attempt < 100; attempt++) {
		std::string name = pattern;
		for (size_t i = name.size() - 6; i < name.size(); i++)
			name[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[std::rand() % 36];
		file.registration = kit::RegisterTemporaryFile(name);
		if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
			file.temporary = name;
			return B_OK;
		}
		const int error = errno;
		kit::ForgetTemporaryFile(file.registration);
		file.registration = -1;
		if (error != EEXIST)
			return status_from_errno(error);
	}
	return B_FILE_EXISTS;
}

// Copies the stage over the file and cuts the file to its length. The room for it is set
// aside first where the file system can, so that a full disk refuses it before the file
// changes; a failure later all the same (a file size limit, a disk error) puts the old
// contents back from a copy kept aside.
status_t BFile::_CopyStageInPlace()
{
	const int fd = fPrivate->fd;
	const off_t size = size_of(fPrivate->stage);
	const off_t oldSize = size_of(fd);
	if (size < 0 || oldSize < 0)
		return status_from_errno(errno);
	if (size > 0 && ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) != 0 && errno != EOPNOTSUPP
		&& errno != ENOSYS)
		return status_from_errno(errno);

	int backup = ::memfd_create("safe-write-backup", MFD_CLOEXEC);
	if (backup < 0)
		return B_NO_MEMORY;
	int reading = ::open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDONLY | O_CLOEXEC);
	status_t status =
		reading < 0 ? status_from_errno(errno) : copy_contents(reading, backup, oldSize);
	if (reading >= 0)
		::close(reading);
	if (status == B_OK) {
		status = copy_contents(fPrivate->stage, fd, size);
		if (status == B_OK && ::ftruncate(fd, size) != 0)
			status = status_from_errno(errno);
		if (status == B_OK && ::fdatasync(fd) != 0)
			status = status_from_errno(errno);
		if (status != B_OK) {
			// Within the old length, over blocks the file already has.
			copy_contents(backup, fd, oldSize);
			::ftruncate(fd, oldSize);
			::fdatasync(fd);
		}
	}
	::close(backup);
	return status;
}

int BFile::_Descriptor() const
{
	return fPrivate == nullptr ? -1 : fPrivate->fd;
}
