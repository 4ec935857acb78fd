// Colours, colour spaces, drawing modes and patterns.
#pragma once

#include "SupportDefs.h"

struct rgb_color {
	uint8 red;
	uint8 green;
	uint8 blue;
	uint8 alpha;

	bool operator==(const rgb_color& other) const
	{
		return red == other.red && green == other.green && blue == other.blue
			&& alpha == other.alpha;
	}
	bool operator!=(const rgb_color& other) const { return !(*this == other); }
};

inline rgb_color make_color(uint8 red, uint8 green, uint8 blue, uint8 alpha = 255)
{
	return rgb_color{red, green, blue, alpha};
}

// As a view colour, this value means "do not fill the update area before drawing".
const rgb_color B_TRANSPARENT_COLOR = {0x77, 0x74, 0x77, 0x00};
const rgb_color B_TRANSPARENT_32_BIT = B_TRANSPARENT_COLOR;

enum color_space : uint32 {
	B_NO_COLOR_SPACE = 0x0000,
	B_RGB24 = 0x0003, // bytes B, G, R
	B_GRAY8 = 0x0002,
	B_CMAP8 = 0x0004,
	B_RGB32 = 0x0008,  // bytes B, G, R, unused
	B_RGBA32 = 0x2008, // bytes B, G, R, A
};

enum drawing_mode {
	B_OP_COPY,
	B_OP_OVER,
	B_OP_ERASE,
	B_OP_INVERT,
	B_OP_ADD,
	B_OP_SUBTRACT,
	B_OP_BLEND,
	B_OP_MIN,
	B_OP_MAX,
	B_OP_SELECT,
	B_OP_ALPHA,
};

struct pattern {
	uint8 data[8];
};

const pattern B_SOLID_HIGH = {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff}};
const pattern B_SOLID_LOW = {{0, 0, 0, 0, 0, 0, 0, 0}};
