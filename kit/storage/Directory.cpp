#include "Directory.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include "Entry.h"
#include "EntryResolution.h"
#include "File.h"

BDirectory::BDirectory()
{
}

BDirectory::BDirectory(const entry_ref* ref)
{
	SetTo(ref);
}

BDirectory::BDirectory(const char* path)
{
	SetTo(path);
}

BDirectory::~BDirectory() = default;

status_t BDirectory::SetTo(const entry_ref* ref)
{
	if (ref == nullptr || !ref->IsSet()) {
		Unset();
		return fInitStatus = B_BAD_VALUE;
	}
	return SetTo(ref->Path().c_str());
}

status_t BDirectory::SetTo(const char* path)
{
	Unset();
	if (path == nullptr || path[0] == '\0')
		return fInitStatus = B_BAD_VALUE;
	// A directory is always reached through any links that lead to it.
	entry_ref ref;
	status_t status = kit::ResolveEntry(path, true, &ref);
	if (status != B_OK)
		return fInitStatus = status;
	std::string resolved = ref.Path();
	switch (kit::NodeFlavorAt(resolved)) {
		case B_DIRECTORY_NODE:
			fPath = resolved;
			return fInitStatus = B_OK;
		case 0:
			return fInitStatus = B_ENTRY_NOT_FOUND;
		default:
			return fInitStatus = B_NOT_A_DIRECTORY;
	}
}

void BDirectory::Unset()
{
	fPath.clear();
	BNode::Unset();
}

status_t BDirectory::GetEntry(BEntry* entry) const
{
	if (entry == nullptr)
		return B_BAD_VALUE;
	if (fInitStatus != B_OK)
		return fInitStatus;
	return entry->SetTo(fPath.c_str());
}

bool BDirectory::Contains(const char* path, int32 nodeFlags) const
{
	if (fInitStatus != B_OK || path == nullptr || path[0] == '\0')
		return false;
	std::string full = path[0] == '/' ? std::string(path) : fPath + "/" + path;
	entry_ref ref;
	if (kit::ResolveEntry(full, false, &ref) != B_OK)
		return false;
	// The entry's resolved directory must be this one or lie below it; ".." in the path has
	// been resolved by now and cannot lead out unnoticed.
	std::string prefix = fPath == "/" ? fPath : fPath + "/";
	std::string directory = ref.directory + "/";
	if (ref.name == "." || directory.compare(0, prefix.size(), prefix) != 0)
		return false;
	return (kit::NodeFlavorAt(ref.Path()) & nodeFlags) != 0;
}

bool BDirectory::Contains(const BEntry* entry, int32 nodeFlags) const
{
	entry_ref ref;
	if (entry == nullptr || entry->GetRef(&ref) != B_OK)
		return false;
	return Contains(ref.Path().c_str(), nodeFlags);
}

status_t BDirectory::CreateFile(const char* leaf, BFile* file, bool failIfExists)
{
	if (!kit::IsValidLeafName(leaf)) {
		if (file != nullptr)
			file->Unset();
		return B_BAD_VALUE;
	}
	if (fInitStatus != B_OK)
		return fInitStatus;
	if (file != nullptr)
		file->Unset();

	std::string path = fPath == "/" ? fPath + leaf : fPath + "/" + leaf;
	int32 flavor = kit::NodeFlavorAt(path);
	if (flavor != 0 && failIfExists)
		return B_FILE_EXISTS;
	if (flavor == B_DIRECTORY_NODE)
		return B_IS_A_DIRECTORY;

	if (file != nullptr)
		return file->_SetToSafeWrite(path.c_str());

	// Without a file to write through there is nothing to replace an existing file with,
	// so only a missing one is made.
	int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
	if (fd >= 0) {
		::close(fd);
		return B_OK;
	}
	if (errno == EEXIST)
		return B_OK;
	return errno == EACCES || errno == EROFS ? B_PERMISSION_DENIED : B_IO_ERROR;
}
