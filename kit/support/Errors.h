// Status codes returned at the kit's edge.
#pragma once

#include <cerrno>
#include <climits>

enum {
	B_OK = 0,
	B_NO_ERROR = 0,
	B_ERROR = -1,

	B_GENERAL_ERROR_BASE = INT_MIN,
	B_NO_MEMORY = B_GENERAL_ERROR_BASE,
	B_IO_ERROR,
	B_PERMISSION_DENIED,
	B_BAD_INDEX,
	B_BAD_TYPE,
	B_BAD_VALUE,
	B_MISMATCHED_VALUES,
	B_NAME_NOT_FOUND,
	B_NAME_IN_USE,
	B_TIMED_OUT,
	B_INTERRUPTED,
	B_WOULD_BLOCK,
	B_CANCELED,
	B_NO_INIT,
	B_BUSY,
	B_NOT_ALLOWED,
	B_BAD_DATA,
	B_DONT_DO_THAT,
	B_UNSUPPORTED,

	B_APP_ERROR_BASE = B_GENERAL_ERROR_BASE + 0x3000,
	B_BAD_HANDLER = B_APP_ERROR_BASE,
	B_BAD_PORT_ID,
	B_MESSAGE_NOT_FOUND,

	B_STORAGE_ERROR_BASE = B_GENERAL_ERROR_BASE + 0x6000,
	B_FILE_ERROR = B_STORAGE_ERROR_BASE,
	B_ENTRY_NOT_FOUND,
	B_FILE_EXISTS,
	B_NOT_A_DIRECTORY,
	B_IS_A_DIRECTORY,

	B_TRANSLATION_ERROR_BASE = B_GENERAL_ERROR_BASE + 0x4800,
	B_NO_TRANSLATOR = B_TRANSLATION_ERROR_BASE,
	B_ILLEGAL_DATA,

	// The system's own reasons (errno values) that have no code above keep their number
	// here, so that what failed can still be told in the system's words (strerror).
	B_POSIX_ERROR_BASE = B_GENERAL_ERROR_BASE + 0x7000,
};

constexpr int B_FROM_POSIX_ERROR(int error)
{
	return B_POSIX_ERROR_BASE + error;
}

// The errno value of a status made by B_FROM_POSIX_ERROR; 0 for any other status.
constexpr int B_TO_POSIX_ERROR(int status)
{
	return status > B_POSIX_ERROR_BASE && status < B_POSIX_ERROR_BASE + 0x1000
		? status - B_POSIX_ERROR_BASE
		: 0;
}

enum {
	B_DEVICE_FULL = B_FROM_POSIX_ERROR(ENOSPC),
	B_FILE_TOO_LARGE = B_FROM_POSIX_ERROR(EFBIG),
};

// The system's words for a status ("No space left on device"); null for a status that is
// the kit's own, with no such words.
const char* status_text(int status);
