// BBitmap: allocation, row layout, refusal of absurd sizes, copies and SetBits conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "Bitmap.h"

TEST(Bitmap, RowsAreAlignedToFourBytes)
{
	BBitmap rgb32(BRect(0, 0, 2, 1), B_RGB32);
	BBitmap rgb24(BRect(0, 0, 2, 1), B_RGB24);
	BBitmap gray(BRect(0, 0, 2, 1), B_GRAY8);
	ASSERT_EQ(rgb32.InitCheck(), B_OK);
	ASSERT_EQ(rgb24.InitCheck(), B_OK);
	ASSERT_EQ(gray.InitCheck(), B_OK);
	EXPECT_EQ(rgb32.BytesPerRow(), 12);
	EXPECT_EQ(rgb24.BytesPerRow(), 12); // 9 bytes of pixels, padded
	EXPECT_EQ(gray.BytesPerRow(), 4);
	EXPECT_EQ(gray.BitsLength(), 8);
	EXPECT_EQ(rgb24.PixelWidth(), 3);
	EXPECT_EQ(rgb24.PixelHeight(), 2);
	EXPECT_EQ(BBitmap::RowBytesFor(B_RGB24, 5), 16);
	EXPECT_EQ(BBitmap::RowBytesFor(B_NO_COLOR_SPACE, 5), 0);
}

TEST(Bitmap, NewBitmapsAreZeroedAndOffsetBoundsWork)
{
	BBitmap bitmap(BRect(10, 20, 13, 22), B_RGBA32);
	ASSERT_EQ(bitmap.InitCheck(), B_OK);
	EXPECT_EQ(bitmap.PixelWidth(), 4);
	EXPECT_EQ(bitmap.Bounds(), BRect(10, 20, 13, 22));
	std::vector<uint8> zeros(size_t(bitmap.BitsLength()), 0);
	EXPECT_EQ(std::memcmp(bitmap.Bits(), zeros.data(), zeros.size()), 0);
}

TEST(Bitmap, ExplicitRowLength)
{
	BBitmap padded(BRect(0, 0, 3, 3), 0, B_RGB32, 64);
	ASSERT_EQ(padded.InitCheck(), B_OK);
	EXPECT_EQ(padded.BytesPerRow(), 64);
	EXPECT_EQ(padded.BitsLength(), 256);
	BBitmap tight(BRect(0, 0, 2, 0), 0, B_RGB24, 9); // unpadded rows are allowed
	EXPECT_EQ(tight.InitCheck(), B_OK);
	BBitmap tooShort(BRect(0, 0, 3, 3), 0, B_RGB32, 15);
	EXPECT_NE(tooShort.InitCheck(), B_OK);
	EXPECT_EQ(tooShort.Bits(), nullptr);
}

TEST(Bitmap, AbsurdRequestsFailWithoutData)
{
	const float nan = std::numeric_limits<float>::quiet_NaN();
	const float inf = std::numeric_limits<float>::infinity();
	const BRect cases[] = {
		BRect(0, 0, 99999, 99999), BRect(0, 0, 1e30f, 0), BRect(0, 0, nan, 5), BRect(0, 0, inf, 5),
		BRect(5, 0, 0, 5), BRect(-1e30f, 0, 1e30f, 0),
		BRect(0, 0, 32767, 32767), // fine a side, too many bytes in all
	};
	for (const BRect& bounds : cases) {
		BBitmap bitmap(bounds, B_RGB32);
		EXPECT_NE(bitmap.InitCheck(), B_OK) << bounds.right;
		EXPECT_FALSE(bitmap.IsValid());
		EXPECT_EQ(bitmap.Bits(), nullptr);
		EXPECT_EQ(bitmap.BitsLength(), 0);
		BBitmap copy(bitmap);
		EXPECT_NE(copy.InitCheck(), B_OK);
	}
	BBitmap unknownSpace(BRect(0, 0, 3, 3), B_CMAP8);
	EXPECT_NE(unknownSpace.InitCheck(), B_OK);
}

TEST(Bitmap, CopyIsDeep)
{
	BBitmap original(BRect(0, 0, 4, 2), B_RGB24);
	std::memset(original.Bits(), 0x5a, size_t(original.BitsLength()));
	BBitmap copy(original);
	ASSERT_EQ(copy.InitCheck(), B_OK);
	EXPECT_NE(copy.Bits(), original.Bits());
	EXPECT_EQ(copy.ColorSpace(), B_RGB24);
	EXPECT_EQ(copy.BytesPerRow(), original.BytesPerRow());
	EXPECT_EQ(std::memcmp(copy.Bits(), original.Bits(), size_t(copy.BitsLength())), 0);
	static_cast<uint8*>(original.Bits())[0] = 1;
	EXPECT_EQ(static_cast<uint8*>(copy.Bits())[0], 0x5a);
}

TEST(Bitmap, SetBitsConvertsIntoRGB32)
{
	BBitmap bitmap(BRect(0, 0, 2, 1), B_RGB32);
	// Two rows of three B, G, R pixels, each row padded to 12 bytes as a B_RGB24 bitmap's.
	const uint8 rgb24[24] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 0xee, 0xee, 0xee, 10, 11, 12, 13, 14, 15,
		16, 17, 18, 0xee, 0xee, 0xee};
	bitmap.SetBits(rgb24, sizeof(rgb24), 0, B_RGB24);
	const uint8* bits = static_cast<const uint8*>(bitmap.Bits());
	const uint8 expected[24] = {1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255, 13, 14,
		15, 255, 16, 17, 18, 255};
	EXPECT_EQ(std::memcmp(bits, expected, sizeof(expected)), 0);

	const uint8 gray[8] = {50, 60, 70, 0, 80, 90, 100, 0};
	bitmap.SetBits(gray, sizeof(gray), 0, B_GRAY8);
	EXPECT_EQ(bits[12 + 4 * 2 + 0], 100);
	EXPECT_EQ(bits[12 + 4 * 2 + 2], 100);
	EXPECT_EQ(bits[12 + 4 * 2 + 3], 255);
}

TEST(Bitmap, SetBitsStartsAtOffsetAndStopsAtTheEnd)
{
	BBitmap bitmap(BRect(0, 0, 1, 1), B_RGB32);
	std::vector<uint8> many(4096, 0x77);
	bitmap.SetBits(many.data(), int32(many.size()), 8, B_RGB32); // from the second row on
	const uint8* bits = static_cast<const uint8*>(bitmap.Bits());
	EXPECT_EQ(bits[7], 0);
	EXPECT_EQ(bits[8], 0x77);
	EXPECT_EQ(bits[15], 0x77);

	BBitmap converted(BRect(0, 0, 1, 1), B_RGB32);
	const uint8 rgb24[3] = {9, 8, 7};
	converted.SetBits(rgb24, 3, 4, B_RGB24); // the second pixel of the first row only
	const uint8* out = static_cast<const uint8*>(converted.Bits());
	const uint8 expected[8] = {0, 0, 0, 0, 9, 8, 7, 255};
	EXPECT_EQ(std::memcmp(out, expected, 8), 0);
	EXPECT_EQ(out[8], 0);

	converted.SetBits(many.data(), int32(many.size()), 0, B_GRAY8);
	converted.SetBits(nullptr, 10, 0, B_RGB32);
	converted.SetBits(many.data(), 10, 16, B_RGB32); // offset past the end
	converted.SetBits(many.data(), 10, -4, B_RGB32);
	EXPECT_EQ(out[0], 0x77);
}

TEST(Bitmap, RGB32ToGrayUsesLuminance)
{
	BBitmap gray(BRect(0, 0, 2, 0), B_GRAY8);
	const uint8 pixels[12] = {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255}; // red, green, blue
	gray.SetBits(pixels, sizeof(pixels), 0, B_RGB32);
	const uint8* bits = static_cast<const uint8*>(gray.Bits());
	EXPECT_EQ(bits[0], 76);
	EXPECT_EQ(bits[1], 150);
	EXPECT_EQ(bits[2], 29);
}
