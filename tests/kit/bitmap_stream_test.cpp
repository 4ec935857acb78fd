// BBitmapStream: presenting a bitmap as stream bytes, building one from written bytes, and
// refusing headers that do not describe their data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include "BitmapStream.h"
#include "ImageFixtures.h"

namespace {

// Writes bytes sequentially in chunks of chunk bytes; returns the first failure or B_OK.
status_t WriteInChunks(BBitmapStream& stream, const std::vector<uint8>& bytes, size_t chunk)
{
	for (size_t done = 0; done < bytes.size(); done += chunk) {
		size_t count = std::min(chunk, bytes.size() - done);
		ssize_t written = stream.Write(bytes.data() + done, count);
		if (written < 0)
			return status_t(written);
		if (size_t(written) != count)
			return B_ERROR;
	}
	return B_OK;
}

std::vector<uint8> StreamOf(const BBitmap& bitmap)
{
	BBitmapStream stream(new BBitmap(bitmap));
	off_t size = 0;
	stream.GetSize(&size);
	std::vector<uint8> bytes(static_cast<size_t>(size));
	EXPECT_EQ(stream.ReadAt(0, bytes.data(), bytes.size()), ssize_t(size));
	return bytes;
}

void ExpectNothingToDetach(BBitmapStream& stream)
{
	BBitmap* bitmap = nullptr;
	EXPECT_EQ(stream.DetachBitmap(&bitmap), B_ERROR);
	EXPECT_EQ(bitmap, nullptr);
}

} // namespace

TEST(BitmapStream, PresentsAWrappedBitmapAsHeaderAndRows)
{
	auto bitmap = MakePatternBitmap(5, 3);
	std::vector<uint8> bytes = StreamOf(*bitmap);
	ASSERT_EQ(bytes.size(), 32u + 5 * 4 * 3);
	std::vector<uint8> header = BitmapStreamBytes(MakeHeader(0, 0, 4, 2), {});
	EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
	EXPECT_EQ(bytes[0], 'b');   // big-endian magic
	EXPECT_EQ(bytes[15], 0x00); // 4.0f ends in zero bytes; its first byte is 0x40
	EXPECT_EQ(bytes[12], 0x40);
	EXPECT_EQ(std::memcmp(bytes.data() + 32, bitmap->Bits(), 60), 0);
}

TEST(BitmapStream, WritingBuildsTheBitmapInAnyChunking)
{
	auto original = MakePatternBitmap(37, 29);
	std::vector<uint8> bytes = StreamOf(*original);
	for (size_t chunk : {size_t(1), size_t(7), size_t(32), size_t(1024), bytes.size()}) {
		BBitmapStream stream;
		ASSERT_EQ(WriteInChunks(stream, bytes, chunk), B_OK) << chunk;
		BBitmap* built = nullptr;
		ASSERT_EQ(stream.DetachBitmap(&built), B_OK) << chunk;
		std::unique_ptr<BBitmap> owner(built);
		EXPECT_EQ(built->Bounds(), original->Bounds());
		EXPECT_EQ(built->ColorSpace(), B_RGB32);
		EXPECT_EQ(std::memcmp(built->Bits(), original->Bits(), size_t(original->BitsLength())), 0);
		ExpectNothingToDetach(stream); // detached already
	}
}

TEST(BitmapStream, ReadsBackWhatWasWritten)
{
	auto original = MakePatternBitmap(4, 4);
	std::vector<uint8> bytes = StreamOf(*original);
	BBitmapStream stream;
	ASSERT_EQ(
		WriteInChunks(stream, std::vector<uint8>(bytes.begin(), bytes.begin() + 40), 40), B_OK);
	std::vector<uint8> back(100);
	EXPECT_EQ(stream.ReadAt(0, back.data(), back.size()), 40);
	EXPECT_TRUE(std::equal(bytes.begin(), bytes.begin() + 40, back.begin()));
	off_t size = 0;
	stream.GetSize(&size);
	EXPECT_EQ(size, off_t(bytes.size())); // the header promises the whole
}

TEST(BitmapStream, OtherColourSpacesDetachAsRGB32)
{
	// Two rows of two B, G, R pixels with one byte of padding each.
	std::vector<uint8> data = {1, 2, 3, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12, 0};
	BBitmapStream stream;
	ASSERT_EQ(WriteInChunks(stream, BitmapStreamBytes(MakeHeader(0, 0, 1, 1, B_RGB24, 7), data), 5),
		B_OK);
	BBitmap* built = nullptr;
	ASSERT_EQ(stream.DetachBitmap(&built), B_OK);
	std::unique_ptr<BBitmap> owner(built);
	EXPECT_EQ(built->ColorSpace(), B_RGB32);
	const uint8 expected[4][4] = {
		{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}, {10, 11, 12, 255}};
	for (int i = 0; i < 4; i++)
		EXPECT_EQ(std::memcmp(PixelAt(*built, i % 2, i / 2), expected[i], 4), 0) << i;

	BBitmapStream grayStream;
	ASSERT_EQ(
		WriteInChunks(grayStream, BitmapStreamBytes(MakeHeader(0, 0, 0, 0, B_GRAY8), {200}), 1),
		B_OK);
	ASSERT_EQ(grayStream.DetachBitmap(&built), B_OK);
	owner.reset(built);
	EXPECT_EQ(std::memcmp(PixelAt(*built, 0, 0), "\xc8\xc8\xc8\xff", 4), 0);
}

TEST(BitmapStream, BadHeadersAreRefusedBeforeAnyAllocation)
{
	const float nan = std::numeric_limits<float>::quiet_NaN();
	const float inf = std::numeric_limits<float>::infinity();
	TranslatorBitmap badMagic = MakeHeader(0, 0, 1, 1);
	badMagic.magic = kit_code("BITS");
	TranslatorBitmap sizeMismatch = MakeHeader(0, 0, 1, 1);
	sizeMismatch.dataSize += 4;
	TranslatorBitmap shortRows = MakeHeader(0, 0, 1, 1);
	shortRows.rowBytes = 7;
	shortRows.dataSize = 14;
	TranslatorBitmap unknownSpace = MakeHeader(0, 0, 1, 1);
	unknownSpace.colors = 0x1234;
	TranslatorBitmap huge = MakeHeader(0, 0, 99999, 99999);
	TranslatorBitmap tooManyBytes = MakeHeader(0, 0, 32767, 32767); // fine sides, 4 GiB
	tooManyBytes.dataSize = 0xfffffff0;                             // as near as 32 bits get
	TranslatorBitmap overflowing = MakeHeader(0, 0, 0, 1);
	overflowing.rowBytes = 0x80000000u; // rows times height wraps in 32 bits
	overflowing.dataSize = 0;
	const TranslatorBitmap cases[] = {
		badMagic,
		sizeMismatch,
		shortRows,
		unknownSpace,
		huge,
		tooManyBytes,
		overflowing,
		MakeHeader(0, 0, -1, 1),  // right left of left
		MakeHeader(0, 5, 1, 4),   // bottom above top
		MakeHeader(nan, 0, 1, 1), // NaN bounds
		MakeHeader(0, 0, inf, 1),
		MakeHeader(0, 0, 1.5f, 1), // fractional
		MakeHeader(-5e9f, 0, 1, 1),
	};
	int index = 0;
	for (TranslatorBitmap header : cases) {
		if (!std::isfinite(header.left) || !std::isfinite(header.right)
			|| header.right < header.left || header.bottom < header.top)
			header.dataSize = 64; // no sensible size exists; any will do
		std::vector<uint8> bytes = BitmapStreamBytes(header, std::vector<uint8>(64, 1));
		for (size_t chunk : {size_t(1), size_t(1024)}) {
			BBitmapStream stream;
			EXPECT_LT(WriteInChunks(stream, bytes, chunk), 0) << index << " chunk " << chunk;
			EXPECT_LT(stream.Write(bytes.data(), 4), 0) << index; // and it stays refused
			ExpectNothingToDetach(stream);
		}
		index++;
	}
}

TEST(BitmapStream, IncompleteDataHasNothingToDetach)
{
	auto original = MakePatternBitmap(8, 8);
	std::vector<uint8> bytes = StreamOf(*original);
	BBitmapStream empty;
	ExpectNothingToDetach(empty);

	BBitmapStream headerOnly;
	ASSERT_EQ(
		WriteInChunks(headerOnly, std::vector<uint8>(bytes.begin(), bytes.begin() + 20), 3), B_OK);
	ExpectNothingToDetach(headerOnly);

	BBitmapStream partial;
	bytes.pop_back();
	ASSERT_EQ(WriteInChunks(partial, bytes, 1024), B_OK);
	ExpectNothingToDetach(partial);
}

TEST(BitmapStream, WritesMustNotLeaveHolesOrChangeTheHeader)
{
	auto original = MakePatternBitmap(4, 4);
	std::vector<uint8> bytes = StreamOf(*original);
	BBitmapStream stream;
	EXPECT_LT(stream.WriteAt(10, bytes.data() + 10, 4), 0); // a hole in the header
	ASSERT_EQ(stream.WriteAt(0, bytes.data(), 32), 32);
	EXPECT_LT(stream.WriteAt(40, bytes.data() + 40, 4), 0); // a hole in the data
	EXPECT_EQ(stream.WriteAt(0, bytes.data(), 32), 32);     // the same header again
	uint8 other[4] = {0, 0, 0, 9};
	EXPECT_LT(stream.WriteAt(20, other, 4), 0);
	// Past the end of the data nothing is taken.
	ASSERT_EQ(stream.WriteAt(32, bytes.data() + 32, bytes.size() - 32), ssize_t(bytes.size() - 32));
	EXPECT_LT(stream.WriteAt(off_t(bytes.size()), bytes.data(), 4), 0);
	BBitmap* built = nullptr;
	ASSERT_EQ(stream.DetachBitmap(&built), B_OK);
	delete built;
}

TEST(BitmapStream, LentBitmapComesBackUnchanged)
{
	auto original = MakePatternBitmap(3, 3, B_RGBA32);
	BBitmap* lent = new BBitmap(*original);
	BBitmapStream stream(lent);
	BBitmap* back = nullptr;
	ASSERT_EQ(stream.DetachBitmap(&back), B_OK);
	std::unique_ptr<BBitmap> owner(back);
	EXPECT_EQ(back, lent);
	EXPECT_EQ(back->ColorSpace(), B_RGBA32);
	off_t size = -1;
	stream.GetSize(&size);
	EXPECT_EQ(size, 0);
	ExpectNothingToDetach(stream);
	EXPECT_EQ(stream.DetachBitmap(nullptr), B_BAD_VALUE);
}
