// Conversion of pixel rows between the colour spaces that bitmaps and bitmap streams carry.
// Every conversion goes through B, G, R, A bytes, the layout of B_RGB32 and B_RGBA32.
#pragma once

#include "GraphicsDefs.h"

namespace kit {

// The layout through which every conversion goes, that of B_RGB32 and B_RGBA32: four bytes a
// pixel, blue first. The offsets of the bytes in a pixel, and the bytes of a pixel:
enum : int32 {
	kBlueByte = 0,
	kGreenByte = 1,
	kRedByte = 2,
	kAlphaByte = 3,
	kBGRABytes = 4,
};

// Whether rows of this colour space can be converted (B_RGB32, B_RGBA32, B_RGB24, B_GRAY8).
bool IsConvertibleSpace(color_space space);

// Bytes one pixel takes in a convertible colour space; 0 for any other.
int32 BytesPerPixel(color_space space);

// Reads count pixels of source (in sourceSpace) and writes them as B, G, R, A bytes to bgra.
// Pixels without alpha get an alpha of 255; a grey value becomes equal B, G and R.
void ToBGRA(const uint8* source, color_space sourceSpace, uint8* bgra, int32 count);

// Writes count B, G, R, A pixels into destination in destinationSpace. Grey is the
// luminance of the colour, with the weights of ITU-R BT.601.
void FromBGRA(const uint8* bgra, uint8* destination, color_space destinationSpace, int32 count);

} // namespace kit
