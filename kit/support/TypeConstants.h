// Type codes of the typed fields that messages, attributes and streams carry.
#pragma once

#include "SupportDefs.h"

enum : type_code {
	B_ANY_TYPE = kit_code("ANYT"),
	B_BOOL_TYPE = kit_code("BOOL"),
	B_DOUBLE_TYPE = kit_code("DBLE"),
	B_FLOAT_TYPE = kit_code("FLOT"),
	B_INT8_TYPE = kit_code("BYTE"),
	B_INT16_TYPE = kit_code("SHRT"),
	B_INT32_TYPE = kit_code("LONG"),
	B_INT64_TYPE = kit_code("LLNG"),
	B_MESSAGE_TYPE = kit_code("MSGG"),
	B_MIME_TYPE = kit_code("MIME"),
	B_POINT_TYPE = kit_code("BPNT"),
	B_POINTER_TYPE = kit_code("PNTR"),
	B_RAW_TYPE = kit_code("RAWT"),
	B_RECT_TYPE = kit_code("RECT"),
	B_REF_TYPE = kit_code("RREF"),
	B_RGB_COLOR_TYPE = kit_code("RGBC"),
	B_STRING_TYPE = kit_code("CSTR"),
};
