#include "File.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>
#include <vector>

#include <QFileInfo>
#include <QSaveFile>

#include "SeekTarget.h"
#include "TestingHooks.h"

// A plain file is a descriptor used with pread/pwrite, which gives exact POSIX open
// semantics and errors. A safe-write file is a QSaveFile, which owns the temporary file and
// the final rename, and remembers any failed write so that a damaged file is never committed.
// Where the folder takes no temporary file but the file itself may be written, a safe-write
// file writes in place: its data waits in memory (stage, a memfd) and Commit() copies it
// over the file (fd), which keeps its inode, owner and permissions.
struct BFile::Private {
	int fd = -1;
	QSaveFile* saveFile = nullptr;
	int stage = -1;
	bool stageFailed = false;
	uint32 accessMode = B_READ_ONLY;
	bool append = false;
	off_t position = 0;

	~Private()
	{
		if (fd >= 0)
			::close(fd);
		if (stage >= 0)
			::close(stage);
		// Deleting an uncommitted QSaveFile discards its temporary file.
		delete saveFile;
	}
};

namespace {

status_t status_from_errno(int error)
{
	switch (error) {
		case ENOENT:
			return B_ENTRY_NOT_FOUND;
		case EEXIST:
			return B_FILE_EXISTS;
		case EISDIR:
			return B_IS_A_DIRECTORY;
		case ENOTDIR:
			return B_NOT_A_DIRECTORY;
		case EACCES:
		case EPERM:
		case EROFS:
			return B_PERMISSION_DENIED;
		case ENOMEM:
			return B_NO_MEMORY;
		case EINVAL:
			return B_BAD_VALUE;
		default:
			return B_IO_ERROR;
	}
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
	auto* saveFile = new QSaveFile(QFile::decodeName(path));
	bool refused = kit::hooks::RefuseTemporaryFiles();
	if (refused || !saveFile->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
		delete saveFile;
		QFileInfo directory(QFileInfo(QFile::decodeName(path)).absolutePath());
		if (!directory.isDir())
			return fInitStatus = B_ENTRY_NOT_FOUND;
		// No temporary file beside it: an existing file that may be written is written in
		// place.
		status_t inPlace = _SetToWriteInPlace(path);
		if (inPlace == B_OK || inPlace == B_NO_MEMORY)
			return fInitStatus = inPlace;
		if (refused)
			return fInitStatus = B_PERMISSION_DENIED;
		return fInitStatus = directory.isWritable() ? B_IO_ERROR : B_PERMISSION_DENIED;
	}
	fPrivate = new Private;
	fPrivate->saveFile = saveFile;
	fPrivate->accessMode = B_WRITE_ONLY;
	return fInitStatus = B_OK;
}

status_t BFile::_SetToWriteInPlace(const char* path)
{
	// Opened without truncation: nothing of the old file changes before Commit().
	int fd = ::open(path, O_WRONLY | O_CLOEXEC | O_NONBLOCK);
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
	return fPrivate != nullptr && fPrivate->saveFile == nullptr
		&& fPrivate->accessMode != B_WRITE_ONLY;
}

bool BFile::IsWritable() const
{
	return fPrivate != nullptr && fPrivate->accessMode != B_READ_ONLY;
}

bool BFile::IsSafeWrite() const
{
	return fPrivate != nullptr && (fPrivate->saveFile != nullptr || fPrivate->stage >= 0);
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

	if (QSaveFile* saveFile = fPrivate->saveFile) {
		// A failed seek or write is remembered by the QSaveFile, which then refuses to
		// commit: a half-written file never replaces the old one.
		if (!saveFile->seek(position))
			return B_IO_ERROR;
		qint64 written = saveFile->write(static_cast<const char*>(buffer), qint64(size));
		return written < 0 ? ssize_t(B_IO_ERROR) : ssize_t(written);
	}

	// Written in place: into the stage, until Commit(). A failed write is remembered, as
	// QSaveFile remembers it, so that a damaged file is never committed.
	const bool staged = fPrivate->stage >= 0;
	const int fd = staged ? fPrivate->stage : fPrivate->fd;
	ssize_t result;
	do {
		if (fPrivate->append && !staged)
			result = ::write(fd, buffer, size);
		else
			result = ::pwrite(fd, buffer, size, position);
	} while (result < 0 && errno == EINTR);
	if (result < 0 && staged)
		fPrivate->stageFailed = true;
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
	if (QSaveFile* saveFile = fPrivate->saveFile)
		return saveFile->resize(size) ? B_OK : B_IO_ERROR;
	const int fd = fPrivate->stage >= 0 ? fPrivate->stage : fPrivate->fd;
	return ::ftruncate(fd, size) == 0 ? B_OK : status_from_errno(errno);
}

status_t BFile::GetSize(off_t* size) const
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (size == nullptr)
		return B_BAD_VALUE;
	if (QSaveFile* saveFile = fPrivate->saveFile) {
		*size = saveFile->size();
		return B_OK;
	}
	struct stat info;
	if (::fstat(fPrivate->stage >= 0 ? fPrivate->stage : fPrivate->fd, &info) != 0)
		return status_from_errno(errno);
	*size = info.st_size;
	return B_OK;
}

status_t BFile::Commit()
{
	if (fPrivate == nullptr)
		return B_NO_INIT;
	if (fPrivate->stage >= 0) {
		status_t status = fPrivate->stageFailed ? B_IO_ERROR : _CopyStageInPlace();
		Unset();
		return status;
	}
	QSaveFile* saveFile = fPrivate->saveFile;
	if (saveFile == nullptr)
		return B_OK;

	status_t status = B_OK;
	if (!saveFile->commit()) {
		switch (saveFile->error()) {
			case QFileDevice::PermissionsError:
			case QFileDevice::RenameError:
				status = B_PERMISSION_DENIED;
				break;
			default:
				status = B_IO_ERROR;
				break;
		}
	}
	Unset();
	return status;
}

// Copies the stage over the file and cuts the file to its length. Not atomic: a failure
// part of the way leaves the file damaged, which the result then says.
status_t BFile::_CopyStageInPlace()
{
	struct stat info;
	if (::fstat(fPrivate->stage, &info) != 0)
		return status_from_errno(errno);
	const off_t size = info.st_size;
	std::vector<char> buffer;
	try {
		buffer.resize(1 << 20);
	} catch (const std::bad_alloc&) {
		return B_NO_MEMORY;
	}
	for (off_t done = 0; done < size;) {
		size_t want = size_t(std::min<off_t>(off_t(buffer.size()), size - done));
		ssize_t count = ::pread(fPrivate->stage, buffer.data(), want, done);
		if (count < 0 && errno == EINTR)
			continue;
		if (count <= 0)
			return count < 0 ? status_from_errno(errno) : B_IO_ERROR;
		for (ssize_t written = 0; written < count;) {
			ssize_t result =
				::pwrite(fPrivate->fd, buffer.data() + written, size_t(count - written), done);
			if (result < 0 && errno == EINTR)
				continue;
			if (result <= 0)
				return result < 0 ? status_from_errno(errno) : B_IO_ERROR;
			written += result;
			done += result;
		}
	}
	if (::ftruncate(fPrivate->fd, size) != 0 || ::fdatasync(fPrivate->fd) != 0)
		return status_from_errno(errno);
	return B_OK;
}

int BFile::_Descriptor() const
{
	if (fPrivate == nullptr)
		return -1;
	if (fPrivate->saveFile != nullptr)
		return fPrivate->saveFile->handle();
	return fPrivate->fd;
}
