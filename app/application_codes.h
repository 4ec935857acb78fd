// The codes the application object answers itself when other programs send them, beside
// the platform's own (B_QUIT_REQUESTED, B_REFS_RECEIVED, ...).
#pragma once

#include "SupportDefs.h"

enum : uint32 {
	// Which formats a picture can be exported to: the reply holds "index" (int32), "name"
	// and "mime" (strings), one value of each per format of the catalogue, in index order.
	CMD_LIST_FORMATS = kit_code("fifm"),
};
