// The system's roster on real image formats: what it offers, round trips through the
// formats the program exports, and refusal of broken or hostile files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "AppFileInfo.h"
#include "BitmapStream.h"
#include "Directory.h"
#include "File.h"
#include "ImageFixtures.h"
#include "TempDirectory.h"
#include "TranslatorRoster.h"

namespace {

class ImageTranslation : public testing::Test {
protected:
	void SetUp() override
	{
		fRoster = BTranslatorRoster::Default();
		ASSERT_NE(fRoster, nullptr);
	}

	// The output formats of every translator that can take a bitmap, as the program's
	// export catalogue collects them.
	std::vector<translation_format> OutputsForBitmaps()
	{
		BBitmapStream probe(new BBitmap(BRect(0, 0, 7, 7), B_RGB32));
		translator_info* info = nullptr;
		int32 count = 0;
		fRoster->GetTranslators(&probe, nullptr, &info, &count);
		std::vector<translation_format> result;
		for (int32 i = 0; i < count; i++) {
			const translation_format* formats = nullptr;
			int32 formatCount = 0;
			fRoster->GetOutputFormats(info[i].translator, &formats, &formatCount);
			result.insert(result.end(), formats, formats + formatCount);
		}
		delete[] info;
		return result;
	}

	const translation_format* FindOutput(uint32 type)
	{
		fOutputs = OutputsForBitmaps();
		for (const translation_format& format : fOutputs) {
			if (format.type == type)
				return &format;
		}
		return nullptr;
	}

	std::unique_ptr<BBitmap> RoundTrip(const BBitmap& bitmap, uint32 type)
	{
		BMallocIO encoded;
		EXPECT_EQ(EncodeBitmap(fRoster, bitmap, type, &encoded), B_OK);
		EXPECT_GT(encoded.BufferLength(), 0u);
		status_t status;
		auto decoded = DecodeBytes(fRoster, encoded.Buffer(), encoded.BufferLength(), &status);
		EXPECT_EQ(status, B_OK);
		return decoded;
	}

	void ExpectRefused(const void* data, size_t size, const char* hintMIME = nullptr)
	{
		status_t status;
		auto decoded = DecodeBytes(fRoster, data, size, &status, hintMIME);
		EXPECT_NE(status, B_OK);
		EXPECT_EQ(decoded, nullptr);
	}

	BTranslatorRoster* fRoster = nullptr;
	std::vector<translation_format> fOutputs;
};

uint32 TypeCode(const char* text)
{
	return (uint32(uint8(text[0])) << 24) | (uint32(uint8(text[1])) << 16)
		| (uint32(uint8(text[2])) << 8) | uint32(uint8(text[3]));
}

// Mean and largest difference of the colour bytes of two B_RGB32 bitmaps of one size.
void Compare(const BBitmap& a, const BBitmap& b, double* mean, int* largest)
{
	long total = 0;
	*largest = 0;
	for (int32 y = 0; y < a.PixelHeight(); y++) {
		for (int32 x = 0; x < a.PixelWidth(); x++) {
			for (int c = 0; c < 3; c++) {
				int difference = std::abs(PixelAt(a, x, y)[c] - PixelAt(b, x, y)[c]);
				total += difference;
				*largest = std::max(*largest, difference);
			}
		}
	}
	*mean = double(total) / (a.PixelWidth() * a.PixelHeight() * 3);
}

} // namespace

TEST_F(ImageTranslation, OffersOneTranslatorPerFormatWithItsNames)
{
	struct Expected {
		uint32 type;
		const char* mime;
		const char* name;
	};
	const Expected formats[] = {
		{kit_code("PNG "), "image/png", "PNG image"},
		{kit_code("JPEG"), "image/jpeg", nullptr},
		{kit_code("BMP "), "image/bmp", nullptr},
		{kit_code("TIFF"), "image/tiff", nullptr},
		{kit_code("WEBP"), "image/webp", nullptr},
	};
	std::vector<translation_format> outputs = OutputsForBitmaps();
	for (const Expected& expected : formats) {
		int found = 0;
		for (const translation_format& format : outputs) {
			if (format.type != expected.type)
				continue;
			found++;
			EXPECT_STREQ(format.MIME, expected.mime);
			if (expected.name != nullptr) {
				EXPECT_STREQ(format.name, expected.name);
			}
			EXPECT_GT(std::strlen(format.name), 0u);
		}
		EXPECT_EQ(found, 1) << expected.mime; // aliases (jpg, tif) are one translator
	}
	for (const translation_format& format : outputs) {
		EXPECT_NE(format.type, kit_code("JPG "));
		EXPECT_NE(format.type, kit_code("TIF "));
	}

	// Formats that can only be read take part in loading but not in exporting.
	translator_id* ids = nullptr;
	int32 count = 0;
	ASSERT_EQ(fRoster->GetAllTranslators(&ids, &count), B_OK);
	bool readsTarga = false;
	for (int32 i = 0; i < count; i++) {
		const translation_format* inputs = nullptr;
		int32 inputCount = 0;
		fRoster->GetInputFormats(ids[i], &inputs, &inputCount);
		for (int32 j = 0; j < inputCount; j++)
			readsTarga |= inputs[j].type == kit_code("TGA ");
	}
	delete[] ids;
	EXPECT_TRUE(readsTarga);
}

TEST_F(ImageTranslation, LosslessFormatsKeepEveryPixel)
{
	auto original = MakePatternBitmap(41, 23);
	for (const char* code : {"PNG ", "BMP ", "TIFF"}) {
		uint32 type = TypeCode(code);
		auto decoded = RoundTrip(*original, type);
		ASSERT_NE(decoded, nullptr) << code;
		EXPECT_EQ(decoded->ColorSpace(), B_RGB32);
		ASSERT_EQ(decoded->Bounds(), original->Bounds()) << code;
		for (int32 y = 0; y < 23; y++) {
			ASSERT_EQ(std::memcmp(PixelAt(*decoded, 0, y), PixelAt(*original, 0, y), 41 * 4), 0)
				<< code << " row " << y;
		}
	}
}

// The PNG writer: alpha where the bitmap has it, and a picture whose compressed data spans
// many chunks comes back whole through the plug-in's reader, which checks every chunk.
TEST_F(ImageTranslation, PngKeepsAlphaAndLargePicturesWhole)
{
	auto translucent = MakePatternBitmap(37, 19, B_RGBA32);
	auto back = RoundTrip(*translucent, TypeCode("PNG "));
	ASSERT_NE(back, nullptr);
	ASSERT_EQ(back->Bounds(), translucent->Bounds());
	for (int32 y = 0; y < 19; y++) {
		for (int32 x = 0; x < 37; x++)
			ASSERT_EQ(std::memcmp(PixelAt(*back, x, y), PixelAt(*translucent, x, y), 4), 0)
				<< x << "," << y;
	}

	// Noise, which does not compress: its data fills several chunks.
	auto large = std::make_unique<BBitmap>(BRect(0, 0, 799, 599), B_RGB32);
	uint32 seed = 2007;
	auto* bytes = static_cast<uint8*>(large->Bits());
	for (int32 i = 0; i < large->BitsLength(); i++) {
		seed = seed * 1103515245u + 12345u;
		bytes[i] = (i % 4 == 3) ? 255 : uint8(seed >> 24);
	}
	BMallocIO encoded;
	ASSERT_EQ(EncodeBitmap(fRoster, *large, TypeCode("PNG "), &encoded), B_OK);
	EXPECT_GT(encoded.BufferLength(), 4u * 256 * 1024) << "expected several data chunks";
	status_t status;
	auto decoded = DecodeBytes(fRoster, encoded.Buffer(), encoded.BufferLength(), &status);
	ASSERT_NE(decoded, nullptr);
	for (int32 y = 0; y < 600; y++)
		ASSERT_EQ(std::memcmp(PixelAt(*decoded, 0, y), PixelAt(*large, 0, y), 800 * 4), 0) << y;

	// A destination that fills up: the writer stops with the destination's error.
	std::vector<char> small(1000);
	BMemoryIO full(small.data(), small.size());
	BBitmapStream stream(new BBitmap(*large));
	EXPECT_NE(fRoster->Translate(&stream, nullptr, nullptr, &full, TypeCode("PNG ")), B_OK);
}

TEST_F(ImageTranslation, LossyFormatsStayClose)
{
	auto original = MakeSmoothBitmap(64, 48);
	for (const char* code : {"JPEG", "WEBP"}) {
		uint32 type = TypeCode(code);
		auto decoded = RoundTrip(*original, type);
		ASSERT_NE(decoded, nullptr) << code;
		EXPECT_EQ(decoded->ColorSpace(), B_RGB32);
		ASSERT_EQ(decoded->Bounds(), original->Bounds());
		double mean;
		int largest;
		Compare(*original, *decoded, &mean, &largest);
		EXPECT_LT(mean, 4.0) << code;
		EXPECT_LT(largest, 40) << code;
	}
}

TEST_F(ImageTranslation, EveryDecodedBitmapIsRGB32)
{
	// A grey picture written as PNG decodes as grey B_RGB32 pixels.
	auto gray = MakePatternBitmap(9, 5, B_GRAY8);
	BMallocIO encoded;
	ASSERT_EQ(EncodeBitmap(fRoster, *gray, kit_code("PNG "), &encoded), B_OK);
	status_t status;
	auto decoded =
		DecodeBytes(fRoster, encoded.Buffer(), encoded.BufferLength(), &status, "image/png");
	ASSERT_NE(decoded, nullptr);
	EXPECT_EQ(decoded->ColorSpace(), B_RGB32);
	const uint8 level = static_cast<const uint8*>(gray->Bits())[gray->BytesPerRow() * 2 + 3];
	const uint8* pixel = PixelAt(*decoded, 3, 2);
	EXPECT_EQ(pixel[0], level);
	EXPECT_EQ(pixel[1], level);
	EXPECT_EQ(pixel[2], level);

	// Bitmap stream data itself goes through as well.
	auto rgb24 = MakePatternBitmap(3, 3, B_RGB24);
	BBitmapStream raw(new BBitmap(*rgb24));
	BBitmapStream out;
	ASSERT_EQ(fRoster->Translate(
				  &raw, nullptr, nullptr, &out, B_TRANSLATOR_BITMAP, 0, B_BITMAP_MIME_TYPE),
		B_OK);
	BBitmap* bitmap = nullptr;
	ASSERT_EQ(out.DetachBitmap(&bitmap), B_OK);
	std::unique_ptr<BBitmap> owner(bitmap);
	EXPECT_EQ(bitmap->ColorSpace(), B_RGB32);
	EXPECT_EQ(std::memcmp(PixelAt(*bitmap, 2, 1),
				  static_cast<const uint8*>(rgb24->Bits()) + rgb24->BytesPerRow() + 6, 3),
		0);
}

TEST_F(ImageTranslation, BrokenInputIsRefused)
{
	ExpectRefused("", 0);
	const char text[] = "This is a letter, not a picture.\n";
	ExpectRefused(text, sizeof(text) - 1);
	ExpectRefused(text, sizeof(text) - 1, "image/png");

	auto original = MakePatternBitmap(64, 64);
	BMallocIO png;
	ASSERT_EQ(EncodeBitmap(fRoster, *original, kit_code("PNG "), &png), B_OK);
	for (size_t keep : {size_t(8), size_t(40), png.BufferLength() / 2})
		ExpectRefused(png.Buffer(), keep);

	// Bitmap stream bytes whose header lies about the data.
	TranslatorBitmap header = MakeHeader(0, 0, 9, 9);
	std::vector<uint8> shortData = BitmapStreamBytes(header, std::vector<uint8>(100, 1));
	ExpectRefused(shortData.data(), shortData.size());
}

// A width x height JPEG whose every pixel has the given components, in a colour space
// of one (grey), three (RGB) or four (CMYK, stored inverted as Adobe's programs do).
std::vector<uint8> SolidJpeg(int width, int height, J_COLOR_SPACE space, std::vector<uint8> pixel)
{
	jpeg_compress_struct info = {};
	jpeg_error_mgr errors = {};
	info.err = jpeg_std_error(&errors);
	jpeg_create_compress(&info);
	unsigned char* buffer = nullptr;
	unsigned long size = 0;
	jpeg_mem_dest(&info, &buffer, &size);
	info.image_width = JDIMENSION(width);
	info.image_height = JDIMENSION(height);
	info.input_components = int(pixel.size());
	info.in_color_space = space;
	jpeg_set_defaults(&info);
	jpeg_set_quality(&info, 95, TRUE);
	jpeg_start_compress(&info, TRUE);
	std::vector<uint8> row;
	for (int x = 0; x < width; x++)
		row.insert(row.end(), pixel.begin(), pixel.end());
	while (info.next_scanline < info.image_height) {
		JSAMPROW rows[] = {row.data()};
		jpeg_write_scanlines(&info, rows, 1);
	}
	jpeg_finish_compress(&info);
	std::vector<uint8> bytes(buffer, buffer + size);
	jpeg_destroy_compress(&info);
	std::free(buffer);
	return bytes;
}

TEST_F(ImageTranslation, JpegsOfEveryKindDecodeOpaque)
{
	const struct {
		const char* kind;
		std::vector<uint8> file;
		int red, green, blue;
	} cases[] = {
		{"rgb", SolidJpeg(24, 16, JCS_RGB, {200, 40, 90}), 200, 40, 90},
		{"grey", SolidJpeg(24, 16, JCS_GRAYSCALE, {120}), 120, 120, 120},
		// CMYK goes to the image plug-in, which knows the inverted inks: full black ink
		// and full cyan, stored as 0, is red.
		{"cmyk", SolidJpeg(24, 16, JCS_CMYK, {255, 0, 0, 255}), 255, 0, 0},
	};
	for (const auto& test : cases) {
		status_t status;
		auto decoded = DecodeBytes(fRoster, test.file.data(), test.file.size(), &status);
		ASSERT_NE(decoded, nullptr) << test.kind << " " << status;
		ASSERT_EQ(decoded->Bounds(), BRect(0, 0, 23, 15)) << test.kind;
		for (int32 y : {0, 15}) {
			for (int32 x : {0, 23}) {
				const uint8* p = PixelAt(*decoded, x, y);
				EXPECT_NEAR(p[2], test.red, 3) << test.kind;
				EXPECT_NEAR(p[1], test.green, 3) << test.kind;
				EXPECT_NEAR(p[0], test.blue, 3) << test.kind;
				EXPECT_EQ(p[3], 255) << test.kind;
			}
		}
	}
}

TEST_F(ImageTranslation, AnimationsGiveTheirFirstFrame)
{
	// A 1 x 1 GIF of two frames: a red pixel, then a blue one.
	const uint8 gif[] = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xff, 0, 0, 0, 0,
		0xff,                                                 // palette: red, blue
		0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, // frame of colour 0
		0x2c, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x4c, 0x01, 0, // frame of colour 1
		0x3b};
	status_t status;
	auto decoded = DecodeBytes(fRoster, gif, sizeof(gif), &status);
	ASSERT_EQ(status, B_OK);
	ASSERT_EQ(decoded->Bounds(), BRect(0, 0, 0, 0));
	EXPECT_EQ(std::memcmp(PixelAt(*decoded, 0, 0), "\x00\x00\xff", 3), 0);
}

TEST_F(ImageTranslation, MissingFileIsAnError)
{
	TempDirectory dir;
	BFile missing(dir.Child("absent.png").c_str(), B_READ_ONLY);
	EXPECT_NE(missing.InitCheck(), B_OK);
	BBitmapStream stream;
	EXPECT_NE(fRoster->Translate(&missing, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP), B_OK);
	BBitmap* bitmap = nullptr;
	EXPECT_EQ(stream.DetachBitmap(&bitmap), B_ERROR);
}

TEST_F(ImageTranslation, HugeClaimedSizesAreRefusedFromTheHeader)
{
	std::vector<uint8> png = PngClaimingSize(100000, 100000);
	ExpectRefused(png.data(), png.size());
	std::vector<uint8> wide = PngClaimingSize(40000, 1);
	ExpectRefused(wide.data(), wide.size());
	std::vector<uint8> bmp = BmpClaimingSize(100000, 100000);
	ExpectRefused(bmp.data(), bmp.size());
	std::vector<uint8> upsideDown = BmpClaimingSize(100000, -100000);
	ExpectRefused(upsideDown.data(), upsideDown.size());
	std::vector<uint8> stream = BitmapStreamBytes(MakeHeader(0, 0, 99999, 99999), {});
	ExpectRefused(stream.data(), stream.size());
}

TEST_F(ImageTranslation, ExportIntoASafeWriteFile)
{
	TempDirectory dir;
	dir.WriteFile("export.png", "old picture");
	const translation_format* png = FindOutput(kit_code("PNG "));
	ASSERT_NE(png, nullptr);

	auto original = MakePatternBitmap(16, 16);
	entry_ref ref(dir.Path().parent_path().string(), dir.Path().filename().string());
	BDirectory directory(&ref);
	BFile file;
	ASSERT_EQ(directory.CreateFile("export.png", &file), B_OK);
	BBitmap* picture = new BBitmap(*original);
	BBitmapStream stream(picture);
	ASSERT_EQ(fRoster->Translate(&stream, nullptr, nullptr, &file, png->type), B_OK);
	BBitmap* back = nullptr;
	ASSERT_EQ(stream.DetachBitmap(&back), B_OK);
	std::unique_ptr<BBitmap> owner(back);
	EXPECT_EQ(back, picture);
	BAppFileInfo info(&file);
	status_t typed = info.SetType(png->MIME);
	EXPECT_TRUE(typed == B_OK || typed == B_UNSUPPORTED);
	EXPECT_EQ(ReadWholeFile(dir.Child("export.png")), "old picture");
	ASSERT_EQ(file.Commit(), B_OK);

	BFile written(dir.Child("export.png").c_str(), B_READ_ONLY);
	ASSERT_EQ(written.InitCheck(), B_OK);
	BBitmapStream decoded;
	ASSERT_EQ(fRoster->Translate(&written, nullptr, nullptr, &decoded, B_TRANSLATOR_BITMAP), B_OK);
	BBitmap* loaded = nullptr;
	ASSERT_EQ(decoded.DetachBitmap(&loaded), B_OK);
	owner.reset(loaded);
	EXPECT_EQ(std::memcmp(loaded->Bits(), original->Bits(), size_t(original->BitsLength())), 0);
}
