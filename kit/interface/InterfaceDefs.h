// Constants of windows, views, menus and controls.
#pragma once

#include "GraphicsDefs.h"
#include "Rect.h"

enum window_type {
	B_UNTYPED_WINDOW = 0,
	B_TITLED_WINDOW = 1,
	B_MODAL_WINDOW = 3,
	B_DOCUMENT_WINDOW = 11,
	B_BORDERED_WINDOW = 20,
	B_FLOATING_WINDOW = 21,
};

enum : uint32 {
	B_NOT_MOVABLE = 0x00000001,
	B_NOT_RESIZABLE = 0x00000002,
	B_NOT_H_RESIZABLE = 0x00000004,
	B_NOT_V_RESIZABLE = 0x00000008,
	B_AVOID_FRONT = 0x00000010,
	B_NOT_CLOSABLE = 0x00000020,
	B_NOT_ZOOMABLE = 0x00000040,
	B_NOT_MINIMIZABLE = 0x00004000,
};

enum : uint32 {
	B_CURRENT_WORKSPACE = 0,
	B_ALL_WORKSPACES = 0xffffffff,
};

// Resizing modes say which of a view's edges follow which edge of its parent when the
// parent's size changes. Bits: the left edge follows the right side (0x1), the right edge
// follows the right side (0x2), the top edge follows the bottom (0x4), the bottom edge
// follows the bottom (0x8). Zero keeps the view where it is.
enum : uint32 {
	B_FOLLOW_NONE = 0,
	B_FOLLOW_LEFT = 0,
	B_FOLLOW_TOP = 0,
	B_FOLLOW_RIGHT = 0x3,
	B_FOLLOW_LEFT_RIGHT = 0x2,
	B_FOLLOW_BOTTOM = 0xc,
	B_FOLLOW_TOP_BOTTOM = 0x8,
	B_FOLLOW_ALL_SIDES = 0xa,
	B_FOLLOW_ALL = B_FOLLOW_ALL_SIDES,
};

// View flags.
enum : uint32 {
	B_FULL_UPDATE_ON_RESIZE = 0x80000000,
	B_WILL_DRAW = 0x20000000,
	B_PULSE_NEEDED = 0x04000000,
	B_NAVIGABLE_JUMP = 0x01000000,
	B_FRAME_EVENTS = 0x08000000,
	B_NAVIGABLE = 0x02000000,
};

// Modifier keys, as bits of the int32 "modifiers" of input messages. The kit reports the
// Shift key; it is the one that changes what the kit's views do with the input.
enum : uint32 {
	B_SHIFT_KEY = 0x00000001,
};

enum orientation {
	B_HORIZONTAL,
	B_VERTICAL,
};

enum menu_layout {
	B_ITEMS_IN_ROW = 0,
	B_ITEMS_IN_COLUMN,
	B_ITEMS_IN_MATRIX,
};

enum button_width {
	B_WIDTH_AS_USUAL,
	B_WIDTH_FROM_WIDEST,
	B_WIDTH_FROM_LABEL,
};

enum alert_type {
	B_EMPTY_ALERT = 0,
	B_INFO_ALERT,
	B_IDEA_ALERT,
	B_WARNING_ALERT,
	B_STOP_ALERT,
};
