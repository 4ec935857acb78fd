#include "AppFileInfo.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <sys/xattr.h>

#include "File.h"

namespace {

const char kTypeAttribute[] = "user.mime_type";

status_t status_from_xattr_errno(int error)
{
	switch (error) {
		case ENOTSUP:
			return B_UNSUPPORTED;
		case ENODATA:
			return B_ENTRY_NOT_FOUND;
		case EACCES:
		case EPERM:
		case EROFS:
			return B_PERMISSION_DENIED;
		case ERANGE:
		case E2BIG:
			return B_BAD_VALUE;
		default:
			return B_IO_ERROR;
	}
}

// "type/subtype" with printable characters and no spaces; the attribute is read by other
// programs, which should not be handed anything else.
bool is_valid_mime_type(const char* type)
{
	size_t length = std::strlen(type);
	if (length == 0 || length >= B_MIME_TYPE_LENGTH)
		return false;
	const char* slash = std::strchr(type, '/');
	if (slash == nullptr || slash == type || slash[1] == '\0' || std::strchr(slash + 1, '/'))
		return false;
	for (const char* c = type; *c != '\0'; c++) {
		if (!std::isgraph(static_cast<unsigned char>(*c)))
			return false;
	}
	return true;
}

} // namespace

BAppFileInfo::BAppFileInfo() : fFile(nullptr), fStatus(B_NO_INIT)
{
}

BAppFileInfo::BAppFileInfo(BFile* file) : fFile(nullptr), fStatus(B_NO_INIT)
{
	SetTo(file);
}

BAppFileInfo::~BAppFileInfo() = default;

status_t BAppFileInfo::SetTo(BFile* file)
{
	fFile = nullptr;
	if (file == nullptr)
		return fStatus = B_BAD_VALUE;
	if (file->InitCheck() != B_OK)
		return fStatus = file->InitCheck();
	fFile = file;
	return fStatus = B_OK;
}

status_t BAppFileInfo::SetType(const char* type)
{
	if (fStatus != B_OK)
		return fStatus;
	if (type == nullptr || !is_valid_mime_type(type))
		return B_BAD_VALUE;
	int fd = static_cast<const BNode*>(fFile)->_Descriptor();
	if (fd < 0)
		return B_NO_INIT;
	if (::fsetxattr(fd, kTypeAttribute, type, std::strlen(type), 0) != 0)
		return status_from_xattr_errno(errno);
	return B_OK;
}

status_t BAppFileInfo::GetType(char* type) const
{
	if (fStatus != B_OK)
		return fStatus;
	if (type == nullptr)
		return B_BAD_VALUE;
	int fd = static_cast<const BNode*>(fFile)->_Descriptor();
	if (fd < 0)
		return B_NO_INIT;
	char value[B_MIME_TYPE_LENGTH];
	ssize_t length = ::fgetxattr(fd, kTypeAttribute, value, sizeof(value) - 1);
	if (length < 0)
		return status_from_xattr_errno(errno);
	value[length] = '\0';
	std::memcpy(type, value, size_t(length) + 1);
	return B_OK;
}
