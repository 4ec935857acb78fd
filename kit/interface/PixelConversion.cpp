#include "PixelConversion.h"

#include <cstring>

namespace kit {

namespace {

const uint8 kOpaque = 255;

// Grey from colour: the luminance weights of ITU-R BT.601 as integers summing to their
// divisor.
const uint32 kBlueWeight = 114;
const uint32 kGreenWeight = 587;
const uint32 kRedWeight = 299;
const uint32 kWeightSum = 1000;

} // namespace

bool IsConvertibleSpace(color_space space)
{
	return BytesPerPixel(space) != 0;
}

int32 BytesPerPixel(color_space space)
{
	switch (space) {
		case B_RGB32:
		case B_RGBA32:
			return kBGRABytes;
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
			std::memcpy(bgra, source, size_t(count) * kBGRABytes);
			break;
		case B_RGB24:
			// Bytes B, G, R: the same order, without alpha.
			for (int32 i = 0; i < count; i++, source += 3, bgra += kBGRABytes) {
				bgra[kBlueByte] = source[kBlueByte];
				bgra[kGreenByte] = source[kGreenByte];
				bgra[kRedByte] = source[kRedByte];
				bgra[kAlphaByte] = kOpaque;
			}
			break;
		case B_GRAY8:
			for (int32 i = 0; i < count; i++, source++, bgra += kBGRABytes) {
				bgra[kBlueByte] = bgra[kGreenByte] = bgra[kRedByte] = source[0];
				bgra[kAlphaByte] = kOpaque;
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
			std::memcpy(destination, bgra, size_t(count) * kBGRABytes);
			break;
		case B_RGB24:
			for (int32 i = 0; i < count; i++, bgra += kBGRABytes, destination += 3) {
				destination[kBlueByte] = bgra[kBlueByte];
				destination[kGreenByte] = bgra[kGreenByte];
				destination[kRedByte] = bgra[kRedByte];
			}
			break;
		case B_GRAY8:
			for (int32 i = 0; i < count; i++, bgra += kBGRABytes, destination++) {
				uint32 luminance = kBlueWeight * bgra[kBlueByte] + kGreenWeight * bgra[kGreenByte]
					+ kRedWeight * bgra[kRedByte];
				destination[0] = uint8((luminance + kWeightSum / 2) / kWeightSum);
			}
			break;
		default:
			break;
	}
}

} // namespace kit
