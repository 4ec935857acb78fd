#include "PixelConversion.h"

#include <cstring>

namespace kit {

bool IsConvertibleSpace(color_space space)
{
	return BytesPerPixel(space) != 0;
}

int32 BytesPerPixel(color_space space)
{
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
			return 4;
		case B_RGB24:
			return 3;
		case B_GRAY8:
			return 1;
		default:
			return 0;
	}
}

void ToBGRA(const uint8* source, color_space sourceSpace, uint8* bgra, int32 count)
{
	switch (sourceSpace) {
		case B_RGB32:
		case B_RGBA32:
			std::memcpy(bgra, source, size_t(count) * 4);
			break;
		case B_RGB24:
			for (int32 i = 0; i < count; i++, source += 3, bgra += 4) {
				bgra[0] = source[0];
				bgra[1] = source[1];
				bgra[2] = source[2];
				bgra[3] = 255;
			}
			break;
		case B_GRAY8:
			for (int32 i = 0; i < count; i++, source++, bgra += 4) {
				bgra[0] = bgra[1] = bgra[2] = source[0];
				bgra[3] = 255;
			}
			break;
		default:
			break;
	}
}

void FromBGRA(const uint8* bgra, uint8* destination, color_space destinationSpace, int32 count)
{
	switch (destinationSpace) {
		case B_RGB32:
		case B_RGBA32:
			std::memcpy(destination, bgra, size_t(count) * 4);
			break;
		case B_RGB24:
			for (int32 i = 0; i < count; i++, bgra += 4, destination += 3) {
				destination[0] = bgra[0];
				destination[1] = bgra[1];
				destination[2] = bgra[2];
			}
			break;
		case B_GRAY8:
			for (int32 i = 0; i < count; i++, bgra += 4, destination++) {
				// Integer weights summing to 1000, rounded.
				uint32 luminance = 114 * bgra[0] + 587 * bgra[1] + 299 * bgra[2];
				destination[0] = uint8((luminance + 500) / 1000);
			}
			break;
		default:
			break;
	}
}

} // namespace kit
