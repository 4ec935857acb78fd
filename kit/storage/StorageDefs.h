// Limits, open modes and node kinds shared by the storage classes and the file panels.
#pragma once

#include "SupportDefs.h"

enum {
	B_FILE_NAME_LENGTH = 256, // a leaf name with its terminator
	B_PATH_NAME_LENGTH = 1024,
	B_MIME_TYPE_LENGTH = 251, // a MIME type with its terminator, as the translation kit's
};

// Open modes of BFile: one access mode, or-ed with any of the flags below it.
enum : uint32 {
	B_READ_ONLY = 0x0000,
	B_WRITE_ONLY = 0x0001,
	B_READ_WRITE = 0x0002,
	B_ACCESS_MODE_MASK = 0x0003,

	B_CREATE_FILE = 0x0100,    // create the file when it does not exist
	B_ERASE_FILE = 0x0200,     // truncate an existing file to zero bytes
	B_FAIL_IF_EXISTS = 0x0400, // with B_CREATE_FILE: refuse an existing file
	B_OPEN_AT_END = 0x0800,    // every write appends
};

// Kinds of file system nodes, for filtering.
enum node_flavor {
	B_FILE_NODE = 0x01,
	B_SYMLINK_NODE = 0x02,
	B_DIRECTORY_NODE = 0x04,
	B_ANY_NODE = 0x07,
};
