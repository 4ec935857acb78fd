#include <cstring>

#include "ErrnoStatus.h"
#include "SupportDefs.h"

namespace kit {

status_t StatusFromErrno(int error)
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
		case EIO:
		case 0:
			return B_IO_ERROR;
		default:
			return B_FROM_POSIX_ERROR(error);
	}
}

} // namespace kit

const char* status_text(int status)
{
	int error = B_TO_POSIX_ERROR(status);
	switch (status) {
		case B_ENTRY_NOT_FOUND:
			error = ENOENT;
			break;
		case B_FILE_EXISTS:
			error = EEXIST;
			break;
		case B_IS_A_DIRECTORY:
			error = EISDIR;
			break;
		case B_NOT_A_DIRECTORY:
			error = ENOTDIR;
			break;
		case B_PERMISSION_DENIED:
			error = EACCES;
			break;
		case B_NO_MEMORY:
			error = ENOMEM;
			break;
		case B_IO_ERROR:
			error = EIO;
			break;
		default:
			break;
	}
	return error != 0 ? std::strerror(error) : nullptr;
}
