#include "BitmapStreamFormat.h"

#include <cmath>
#include <cstring>

#include "BitmapLimits.h"
#include "PixelConversion.h"

namespace kit {

namespace {

// Bounds beyond this are not integers a float can tell apart, nor any real picture's.
const float kMaxCoordinate = 16777216.0f;

// Where each field of the header starts: eight 32-bit words, one after the other.
enum : size_t {
	kMagicAt = 0,
	kLeftAt = 4,
	kTopAt = 8,
	kRightAt = 12,
	kBottomAt = 16,
	kRowBytesAt = 20,
	kColorsAt = 24,
	kDataSizeAt = 28,
};
static_assert(kDataSizeAt + sizeof(uint32) == B_TRANSLATOR_BITMAP_HEADER_SIZE);

void put_big(uint8* bytes, uint32 value)
{
	bytes[0] = uint8(value >> 24);
	bytes[1] = uint8(value >> 16);
	bytes[2] = uint8(value >> 8);
	bytes[3] = uint8(value);
}

uint32 get_big(const uint8* bytes)
{
	return (uint32(bytes[0]) << 24) | (uint32(bytes[1]) << 16) | (uint32(bytes[2]) << 8)
		| uint32(bytes[3]);
}

void put_float(uint8* bytes, float value)
{
	uint32 word;
	std::memcpy(&word, &value, sizeof(word));
	put_big(bytes, word);
}

float get_float(const uint8* bytes)
{
	uint32 word = get_big(bytes);
	float value;
	std::memcpy(&value, &word, sizeof(value));
	return value;
}

bool is_integral_coordinate(float value)
{
	return std::isfinite(value) && std::fabs(value) <= kMaxCoordinate && std::floor(value) == value;
}

} // namespace

void EncodeBitmapHeader(
	const TranslatorBitmap& header, uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE])
{
	put_big(bytes + kMagicAt, header.magic);
	put_float(bytes + kLeftAt, header.left);
	put_float(bytes + kTopAt, header.top);
	put_float(bytes + kRightAt, header.right);
	put_float(bytes + kBottomAt, header.bottom);
	put_big(bytes + kRowBytesAt, header.rowBytes);
	put_big(bytes + kColorsAt, header.colors);
	put_big(bytes + kDataSizeAt, header.dataSize);
}

void DecodeBitmapHeader(
	const uint8 bytes[B_TRANSLATOR_BITMAP_HEADER_SIZE], TranslatorBitmap* header)
{
	header->magic = get_big(bytes + kMagicAt);
	header->left = get_float(bytes + kLeftAt);
	header->top = get_float(bytes + kTopAt);
	header->right = get_float(bytes + kRightAt);
	header->bottom = get_float(bytes + kBottomAt);
	header->rowBytes = get_big(bytes + kRowBytesAt);
	header->colors = get_big(bytes + kColorsAt);
	header->dataSize = get_big(bytes + kDataSizeAt);
}

TranslatorBitmap HeaderForBitmap(const BBitmap& bitmap)
{
	BRect bounds = bitmap.Bounds();
	TranslatorBitmap header;
	header.magic = B_TRANSLATOR_BITMAP;
	header.left = bounds.left;
	header.top = bounds.top;
	header.right = bounds.right;
	header.bottom = bounds.bottom;
	header.rowBytes = uint32(bitmap.BytesPerRow());
	header.colors = uint32(bitmap.ColorSpace());
	header.dataSize = uint32(bitmap.BitsLength());
	return header;
}

status_t CheckBitmapHeader(const TranslatorBitmap& header)
{
	if (header.magic != B_TRANSLATOR_BITMAP)
		return B_BAD_VALUE;
	if (!is_integral_coordinate(header.left) || !is_integral_coordinate(header.top)
		|| !is_integral_coordinate(header.right) || !is_integral_coordinate(header.bottom)
		|| header.right < header.left || header.bottom < header.top)
		return B_BAD_VALUE;
	double width = double(header.right) - double(header.left) + 1;
	double height = double(header.bottom) - double(header.top) + 1;
	if (width > kMaxBitmapSide || height > kMaxBitmapSide)
		return B_NO_MEMORY;
	color_space space = color_space(header.colors);
	if (!IsConvertibleSpace(space))
		return B_BAD_TYPE;
	if (int64(header.rowBytes) < int64(width) * BytesPerPixel(space))
		return B_BAD_VALUE;
	int64 expected = int64(header.rowBytes) * int64(height);
	if (expected > kMaxBitmapBytes)
		return B_NO_MEMORY;
	if (int64(header.dataSize) != expected)
		return B_BAD_VALUE;
	return B_OK;
}

int32 HeaderWidth(const TranslatorBitmap& header)
{
	return int32(header.right - header.left) + 1;
}

int32 HeaderHeight(const TranslatorBitmap& header)
{
	return int32(header.bottom - header.top) + 1;
}

bool HasBitmapMagic(const uint8* bytes, size_t length)
{
	return length >= kMagicAt + sizeof(uint32) && get_big(bytes + kMagicAt) == B_TRANSLATOR_BITMAP;
}

} // namespace kit
