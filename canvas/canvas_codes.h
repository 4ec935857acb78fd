// The commands the canvas receives: from the menus, the configuration window's "set"
// button, and other programs ("fiwr" and "ficl" come from no menu). Whoever sends one
// includes this header, not the canvas's class.
#pragma once

#include "SupportDefs.h"

enum : uint32 {
	CMD_FILE_OPEN = kit_code("fiop"),
	CMD_FILE_PRINT = kit_code("fipr"),
	CMD_FILE_CLOSE = kit_code("ficl"),
	// int16 "format_no": the index of the export format in the catalogue.
	CMD_FILE_WRITE = kit_code("fiwr"),
	CMD_CONFIG = kit_code("conf"),
	CMD_SET_PRESSED = kit_code("Bhit"),
};
