// Pictures at the size they are printed: what a file tells of itself before it is decoded
// (size, the day it was taken), decoding no larger than needed, and resampling.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ExifBuilder.h"
#include "File.h"
#include "ImageFixtures.h"
#include "TempDirectory.h"
#include "picture_files.h"
#include "tr.h"

namespace {

// A B_RGB32 bitmap of width x height whose pixel (x, y) is colourAt(x, y), as 0xRRGGBB.
template <typename ColourAt>
std::unique_ptr<BBitmap> MakeBitmap(int32 width, int32 height, ColourAt colourAt)
{
	auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, width - 1, height - 1), B_RGB32);
	for (int32 y = 0; y < height; y++) {
		uint32* row = reinterpret_cast<uint32*>(
			static_cast<uint8*>(bitmap->Bits()) + int64(y) * bitmap->BytesPerRow());
		for (int32 x = 0; x < width; x++)
			row[x] = 0xff000000u | colourAt(x, y);
	}
	return bitmap;
}

uint32 ColourAt(const BBitmap& bitmap, int32 x, int32 y)
{
	const uint8* pixel = PixelAt(bitmap, x, y);
	return uint32(pixel[2]) << 16 | uint32(pixel[1]) << 8 | pixel[0];
}

std::string Size(const BBitmap* bitmap)
{
	if (bitmap == nullptr)
		return "none";
	return std::to_string(bitmap->PixelWidth()) + "x" + std::to_string(bitmap->PixelHeight());
}

class PictureSizes : public ::testing::Test {
protected:
	void SetUp() override
	{
		if (tr == nullptr)
			tr = BTranslatorRoster::Default();
		ASSERT_NE(tr, nullptr);
	}

	// A JPEG of width x height as a camera stores it.
	std::string Jpeg(int32 width, int32 height)
	{
		BMallocIO out;
		EXPECT_EQ(EncodeBitmap(tr, *MakeSmoothBitmap(width, height), kit_code("JPEG"), &out), B_OK);
		return std::string(static_cast<const char*>(out.Buffer()), out.BufferLength());
	}

	std::string Write(const std::string& bytes)
	{
		return folder.WriteFile("picture" + std::to_string(++fFiles), bytes);
	}

	std::string AtLeast(const std::string& path, int32 width, int32 height)
	{
		BFile file(path.c_str(), B_READ_ONLY);
		BBitmap* picture = nullptr;
		status_t status = read_picture_at_least(&file, width, height, &picture);
		std::unique_ptr<BBitmap> owned(picture);
		return status == B_OK ? Size(picture) : "error " + std::to_string(status);
	}

	status_t Facts(const std::string& path, picture_facts* facts)
	{
		BFile file(path.c_str(), B_READ_ONLY);
		return read_picture_facts(&file, facts);
	}

	TempDirectory folder;

private:
	int fFiles = 0;
};

TEST_F(PictureSizes, TheDctScaleIsTheSmallestThatStillReachesTheLeastSize)
{
	const std::string photo = Write(Jpeg(1600, 1200));
	EXPECT_EQ(AtLeast(photo, 800, 600), "800x600");  // 4/8 exactly
	EXPECT_EQ(AtLeast(photo, 801, 600), "1000x750"); // one pixel more: 5/8
	EXPECT_EQ(AtLeast(photo, 800, 601), "1000x750");
	EXPECT_EQ(AtLeast(photo, 1, 1), "200x150");         // 1/8 at the smallest
	EXPECT_EQ(AtLeast(photo, 1401, 0), "1600x1200");    // 7/8 gives 1400: the whole
	EXPECT_EQ(AtLeast(photo, 5000, 5000), "1600x1200"); // never larger than the picture

	picture_facts facts;
	ASSERT_EQ(Facts(photo, &facts), B_OK);
	EXPECT_EQ(facts.width, 1600);
	EXPECT_EQ(facts.height, 1200);
	EXPECT_FALSE(facts.has_date);
}

TEST_F(PictureSizes, AnUprightPictureTurnedByItsExifIsMeasuredUpright)
{
	// Stored 1600 x 1200, shown turned a quarter clockwise: 1200 x 1600.
	const std::string photo = Write(WithOrientation(Jpeg(1600, 1200), 6, 1600, 1200));
	picture_facts facts;
	ASSERT_EQ(Facts(photo, &facts), B_OK);
	EXPECT_EQ(facts.width, 1200);
	EXPECT_EQ(facts.height, 1600);
	EXPECT_EQ(AtLeast(photo, 600, 800), "600x800");
	EXPECT_EQ(AtLeast(photo, 601, 800), "750x1000");
	EXPECT_EQ(AtLeast(photo, 600, 801), "750x1000");
}

TEST_F(PictureSizes, TheDayTakenComesFromTheExifInItsOrder)
{
	const std::string jpeg = Jpeg(64, 48);
	auto dateOf = [&](const ExifBuilder& exif) {
		picture_facts facts;
		status_t status = Facts(Write(JpegWithExif(jpeg, exif.Bytes())), &facts);
		EXPECT_EQ(status, B_OK);
		EXPECT_EQ(facts.width, 64);
		if (!facts.has_date)
			return std::string("none");
		char text[16];
		std::snprintf(text, sizeof(text), "%04d-%02d-%02d", facts.year, facts.month, facts.day);
		return std::string(text);
	};

	ExifBuilder all;
	all.Text(false, kDateTime, "2025:01:02 03:04:05");
	all.Text(true, kDateTimeDigitized, "2024:03:01 00:00:00");
	all.Text(true, kDateTimeOriginal, "2024:02:29 23:59:59");
	EXPECT_EQ(dateOf(all), "2024-02-29");

	ExifBuilder notLeap; // no 29 February in 2023: the digitizing date is next
	notLeap.Text(false, kDateTime, "2025:01:02 03:04:05");
	notLeap.Text(true, kDateTimeOriginal, "2023:02:29 12:00:00");
	notLeap.Text(true, kDateTimeDigitized, "2023:03:01 12:00:00");
	EXPECT_EQ(dateOf(notLeap), "2023-03-01");

	ExifBuilder changedOnly;
	changedOnly.Text(false, kDateTime, "1999:12:31 23:59:60");
	EXPECT_EQ(dateOf(changedOnly), "1999-12-31");
}

TEST_F(PictureSizes, MalformedExifGivesNoDateAndThePictureStillOpens)
{
	const std::string jpeg = Jpeg(64, 48);
	std::vector<std::pair<std::string, std::vector<uint8>>> cases;
	for (const char* text : {"0000:00:00 00:00:00", "2024:13:01 10:00:00", "2024:04:31 10:00:00",
			 "2024:01:01 24:00:00", "2024-01-01 10:00:00", "2024:01:01", "                   "}) {
		ExifBuilder exif;
		exif.Text(true, kDateTimeOriginal, text);
		cases.emplace_back(text, exif.Bytes());
	}
	{
		ExifBuilder exif; // the text lies beyond the end of the EXIF segment
		exif.Entry(true, kDateTimeOriginal, kAscii, 20, 60000);
		cases.emplace_back("offset out of range", exif.Bytes());
	}
	{
		ExifBuilder exif; // a count too short for a date, the text right there
		exif.Entry(true, kDateTimeOriginal, kAscii, 4, 0x30323032);
		cases.emplace_back("inline text", exif.Bytes());
	}
	{
		ExifBuilder exif; // the EXIF directory is the first one, which is its own next
		exif.Entry(false, kExifPointer, kLong, 1, kFirstDirectory);
		cases.emplace_back("loop", exif.Bytes(kFirstDirectory));
	}
	{
		ExifBuilder exif; // the EXIF directory points back to the first
		exif.Text(false, 0x010f, "Camera");
		exif.Entry(true, kExifPointer, kLong, 1, kFirstDirectory);
		cases.emplace_back("loop back", exif.Bytes(exif.ExifDirectory()));
	}
	{
		ExifBuilder exif; // the EXIF directory is out of range
		exif.Entry(false, kExifPointer, kLong, 1, 0xfffffff0u);
		cases.emplace_back("directory out of range", exif.Bytes());
	}
	for (const auto& [name, bytes] : cases) {
		const std::string photo = Write(JpegWithExif(jpeg, bytes));
		picture_facts facts;
		ASSERT_EQ(Facts(photo, &facts), B_OK) << name;
		EXPECT_FALSE(facts.has_date) << name;
		EXPECT_EQ(facts.width, 64) << name;
		EXPECT_EQ(facts.height, 48) << name;
		EXPECT_EQ(AtLeast(photo, 32, 24), "32x24") << name;
	}
}

TEST_F(PictureSizes, FactsComeFromTheHeaderUnderTheSameLimits)
{
	// A PNG header over data that is no picture: its size is known, its pixels are not.
	std::vector<uint8> bogus = PngClaimingSize(5000, 4000);
	const std::string promise = Write(std::string(bogus.begin(), bogus.end()));
	picture_facts facts;
	ASSERT_EQ(Facts(promise, &facts), B_OK);
	EXPECT_EQ(facts.width, 5000);
	EXPECT_EQ(facts.height, 4000);
	BFile file(promise.c_str(), B_READ_ONLY);
	BBitmap* picture = nullptr;
	EXPECT_NE(read_picture(&file, &picture), B_OK);

	// What no decoding may hold is refused by the facts too, and they stay as they were.
	std::vector<uint8> huge = PngClaimingSize(100000, 100000);
	facts = picture_facts{};
	EXPECT_EQ(Facts(Write(std::string(huge.begin(), huge.end())), &facts), B_NO_MEMORY);
	EXPECT_EQ(Facts(Write(JpegClaimingSize(Jpeg(64, 48), 30000, 30000)), &facts), B_NO_MEMORY);
	EXPECT_EQ(facts.width, 0);
	EXPECT_EQ(Facts(Write("not a picture"), &facts), B_NO_TRANSLATOR);
}

TEST_F(PictureSizes, HalvingATwoColourPictureKeepsItsColours)
{
	const uint32 kRed = 0xff0000, kBlue = 0x0000ff;
	auto halves = MakeBitmap(64, 48, [&](int32 x, int32) { return x < 32 ? kRed : kBlue; });
	std::unique_ptr<BBitmap> half(resample_picture(halves.get(), halves->Bounds(), 32, 24));
	ASSERT_NE(half, nullptr);
	EXPECT_EQ(half->ColorSpace(), B_RGB32);
	EXPECT_EQ(Size(half.get()), "32x24");
	for (int32 y = 0; y < 24; y++) {
		for (int32 x = 0; x < 32; x++)
			ASSERT_EQ(ColourAt(*half, x, y), x < 16 ? kRed : kBlue) << x << ", " << y;
	}
}

TEST_F(PictureSizes, ShrinkingAveragesEverySourcePixel)
{
	// Columns black, white, white, again and again: a third as wide, each new pixel holds
	// one black and two white ones. Picking pixels (or sampling between two) gives white.
	for (int32 width : {96, 1536}) { // a small picture and one of more than a megapixel
		auto stripes =
			MakeBitmap(width, width, [](int32 x, int32) { return x % 3 == 0 ? 0u : 0xffffffu; });
		const int32 third = width / 3;
		std::unique_ptr<BBitmap> small(
			resample_picture(stripes.get(), stripes->Bounds(), third, third));
		ASSERT_NE(small, nullptr);
		for (int32 y = 0; y < third; y += 7) {
			for (int32 x = 1; x < third - 1; x++) {
				int grey = int(ColourAt(*small, x, y) & 0xff);
				ASSERT_NEAR(grey, 170, 3) << width << ": " << x << ", " << y;
			}
		}
	}
}

TEST_F(PictureSizes, APartOfThePictureIsCutWhereItSays)
{
	// Nine cells of 20 x 20 pixels, each of its own colour.
	auto cells = MakeBitmap(
		60, 60, [](int32 x, int32 y) { return uint32(x / 20 * 3 + y / 20) * 0x151515u; });
	const uint32 centre = ColourAt(*cells, 30, 30);
	std::unique_ptr<BBitmap> part(resample_picture(cells.get(), BRect(20, 20, 39, 39), 10, 10));
	ASSERT_NE(part, nullptr);
	for (int32 y = 0; y < 10; y++) {
		for (int32 x = 0; x < 10; x++)
			ASSERT_EQ(ColourAt(*part, x, y), centre) << x << ", " << y;
	}

	// Unscaled, the pixels themselves.
	auto pattern = MakePatternBitmap(40, 30);
	std::unique_ptr<BBitmap> copy(resample_picture(pattern.get(), BRect(7, 5, 16, 12), 10, 8));
	ASSERT_NE(copy, nullptr);
	for (int32 y = 0; y < 8; y++) {
		for (int32 x = 0; x < 10; x++)
			ASSERT_EQ(ColourAt(*copy, x, y), ColourAt(*pattern, x + 7, y + 5)) << x << ", " << y;
	}

	// Sides between pixels: red up to x = 200, blue after it. From 100.25, halved, the
	// border falls at 49.875 new pixels, give or take one.
	auto halves =
		MakeBitmap(400, 4, [](int32 x, int32) { return x < 200 ? 0xff0000u : 0x0000ffu; });
	std::unique_ptr<BBitmap> shifted(
		resample_picture(halves.get(), BRect(100.25f, 0, 299.25f, 3), 100, 2));
	ASSERT_NE(shifted, nullptr);
	for (int32 x = 0; x < 100; x++) {
		if (x < 49)
			ASSERT_EQ(ColourAt(*shifted, x, 1), 0xff0000u) << x;
		else if (x > 50)
			ASSERT_EQ(ColourAt(*shifted, x, 1), 0x0000ffu) << x;
	}

	EXPECT_EQ(resample_picture(pattern.get(), BRect(50, 50, 60, 60), 10, 10), nullptr);
	EXPECT_EQ(resample_picture(pattern.get(), pattern->Bounds(), 0, 10), nullptr);
	EXPECT_EQ(resample_picture(nullptr, pattern->Bounds(), 10, 10), nullptr);
}

} // namespace
