// What the platform knows about a running application.
#pragma once

#include "EntryRef.h"
#include "StorageDefs.h"

struct app_info {
	pid_t team = -1;
	uint32 flags = 0;
	entry_ref ref; // the application's executable file
	char signature[B_MIME_TYPE_LENGTH] = {};
};
