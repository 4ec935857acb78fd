// Message codes that the platform itself defines.
#pragma once

#include "SupportDefs.h"

enum : uint32 {
	B_ABOUT_REQUESTED = kit_code("_ABR"),
	B_APP_ACTIVATED = kit_code("_ACT"),
	B_ARGV_RECEIVED = kit_code("_ARG"),
	B_CANCEL = kit_code("_CNC"),
	B_COPY_TARGET = kit_code("DDCP"),
	B_MIME_DATA = kit_code("MIME"),
	B_PULSE = kit_code("_PUL"),
	B_QUIT_REQUESTED = kit_code("_QRQ"),
	B_READY_TO_RUN = kit_code("_RTR"),
	B_REFS_RECEIVED = kit_code("RREF"),
	B_SAVE_REQUESTED = kit_code("SAVE"),
	B_SIMPLE_DATA = kit_code("DATA"),
	B_NO_REPLY = kit_code("NONE"),
	B_REPLY = kit_code("RPLY"),
	B_MESSAGE_NOT_UNDERSTOOD = kit_code("_MNU"),
	B_MOUSE_WHEEL_CHANGED = kit_code("_MWC"),
	B_WINDOW_RESIZED = kit_code("_WRS"),
	B_QUIT_REQUESTED_BY_PLATFORM = kit_code("_QRP"),
};
