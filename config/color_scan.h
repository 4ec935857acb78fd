// Reading a colour typed as hexadecimal text.
#pragma once

#include "SupportDefs.h"

// Reads text as the C library's sscanf("%x") does: leading white space is skipped, a sign
// and then a "0x" or "0X" prefix are accepted, and reading stops at the first character
// that is not a hexadecimal digit; "-" negates modulo 2^32. The value is stored in *color
// and true returned. A text with no hexadecimal digit, or whose value does not fit in 32
// bits (more than eight digits after any leading zeros), leaves *color unchanged and gives
// false, where sscanf would give an undefined result.
bool scan_color(const char* text, uint32* color);
