// The four-character codes of the program's own commands.
#pragma once

#include "AppDefs.h"

enum : uint32 {
	CMD_FILE_OPEN = kit_code("fiop"),
	CMD_FILE_PRINT = kit_code("fipr"),
	CMD_FILE_CLOSE = kit_code("ficl"),
	CMD_FILE_WRITE = kit_code("fiwr"),
	CMD_LIST_FORMATS = kit_code("fifm"),
	CMD_CONFIG = kit_code("conf"),
	CMD_SET_PRESSED = kit_code("Bhit"),
	CMD_VALUE_CHANGED = kit_code("Vchg"),
	CMD_FONT_CHANGED = kit_code("Fchg"),
};
