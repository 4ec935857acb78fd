#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "CanvasProbe.h"
#include "DropTesting.h"
#include "ImageFixtures.h"
#include "PanelTesting.h"
#include "ProgramHarness.h"
#include "TempDirectory.h"
#include "canvas_codes.h"
#include "dorvaview.h"
#include "drop_pos.h"
#include "pic.h"
#include "tr.h"

namespace {

entry_ref ref_for(const std::string& path)
{
	size_t slash = path.rfind('/');
	return entry_ref(path.substr(0, slash), path.substr(slash + 1));
}

std::string encode(const BBitmap& bitmap, uint32 type)
{
	BMallocIO out;
	if (EncodeBitmap(tr, bitmap, type, &out) != B_OK)
		return "";
	return std::string(static_cast<const char*>(out.Buffer()), out.BufferLength());
}

class PicturesIn : public ::testing::Test {
protected:
	void Open(const std::vector<std::string>& paths)
	{
		BMessage data(B_SIMPLE_DATA);
		for (const std::string& path : paths) {
			entry_ref ref = ref_for(path);
			data.AddRef("refs", &ref);
		}
		BMessenger(program.Canvas()).SendMessage(&data);
		program.Idle();
	}

	std::string WritePicture(const std::string& name, uint32 type, int w = 64, int h = 48)
	{
		std::string bytes = encode(*MakeSmoothBitmap(w, h), type);
		EXPECT_FALSE(bytes.empty()) << name;
		return folder.WriteFile(name, bytes);
	}

	ProgramHarness program;
	TempDirectory folder;
};

TEST_F(PicturesIn, OpensTheCommonFormats)
{
	const std::pair<const char*, uint32> formats[] = {
		{"a.png", kit_code("PNG ")},
		{"b.jpeg", kit_code("JPEG")},
		{"c.tiff", kit_code("TIFF")},
		{"d.webp", kit_code("WEBP")},
		{"e.bmp", kit_code("BMP ")},
	};
	for (const auto& [name, type] : formats) {
		Open({WritePicture(name, type)});
		dorvaview* canvas = program.Canvas();
		ASSERT_NE(canvas->image, nullptr) << name;
		EXPECT_EQ(canvas->image->ColorSpace(), B_RGB32);
		EXPECT_EQ(canvas->image->Bounds(), BRect(0, 0, 63, 47)) << name;
		EXPECT_STREQ(canvas->title, name);
		EXPECT_EQ(std::string(program.Window()->Title()), std::string(name) + "[64x48]");
	}
}

TEST_F(PicturesIn, BrokenFilesLeaveAnEmptyCanvasNamedAfterThem)
{
	std::string png = encode(*MakeSmoothBitmap(64, 48), kit_code("PNG "));
	std::vector<uint8> huge = PngClaimingSize(100000, 100000);
	std::string good = WritePicture("good.png", kit_code("PNG "));
	const std::pair<std::string, std::string> broken[] = {
		{"empty.png", folder.WriteFile("empty.png", "")},
		{"cut.png", folder.WriteFile("cut.png", png.substr(0, png.size() / 2))},
		{"notes.txt", folder.WriteFile("notes.txt", "just some words\n")},
		{"huge.png", folder.WriteFile("huge.png", std::string(huge.begin(), huge.end()))},
		{"missing.png", folder.Child("missing.png")},
		{"sub", (std::filesystem::create_directory(folder.Path() / "sub"), folder.Child("sub"))},
	};
	for (const auto& [name, path] : broken) {
		Open({good});
		ASSERT_NE(program.Canvas()->image, nullptr);
		Open({path});
		EXPECT_EQ(program.Canvas()->image, nullptr) << name;
		EXPECT_STREQ(program.Canvas()->title, name.c_str());
		EXPECT_STREQ(program.Window()->Title(), "dorva ver.0.00");
		EXPECT_EQ(program.Window()->Frame().Width(), 200) << name;
		EXPECT_EQ(pic, BRect(-1, -1, -1, -1));
	}
	// The empty ref of a command-line name that is no entry is a file that cannot be read.
	BMessage data(B_SIMPLE_DATA);
	entry_ref none;
	data.AddRef("refs", &none);
	BMessenger(program.Canvas()).SendMessage(&data);
	program.Idle();
	EXPECT_EQ(program.Canvas()->image, nullptr);
	EXPECT_STREQ(program.Canvas()->title, "");
}

TEST_F(PicturesIn, TheFirstRefThatDecodesWinsAndDropsWithRefsAreNotNegotiated)
{
	std::string text = folder.WriteFile("first.txt", "not a picture");
	std::string second = WritePicture("second.png", kit_code("PNG "), 30, 20);
	std::string third = WritePicture("third.png", kit_code("PNG "), 10, 10);
	BMessage drop(B_SIMPLE_DATA);
	for (const std::string& path : {text, second, third}) {
		entry_ref ref = ref_for(path);
		drop.AddRef("refs", &ref);
	}
	drop.AddString("be:clip_name", "clipping");
	drop.AddString("be:types", "image/png");
	int replies = 0;
	kit::testing::RecordReplies(drop, [&](const BMessage&, BHandler*) { replies++; });
	BMessenger(program.Canvas()).SendMessage(&drop);
	program.Idle();
	EXPECT_STREQ(program.Canvas()->title, "second.png");
	ASSERT_NE(program.Canvas()->image, nullptr);
	EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, 29, 19));
	EXPECT_EQ(replies, 0);
}

TEST_F(PicturesIn, DropPositionComesFromAnyMessageThatCarriesBothFields)
{
	dorvaview* canvas = program.Canvas();
	drop_pos = BPoint(7, 7);
	BMessage pointOnly(kit_code("what"));
	pointOnly.AddPoint("_drop_point_", canvas->ConvertToScreen(BPoint(50, 50)));
	BMessenger(canvas).SendMessage(&pointOnly);
	program.Idle();
	EXPECT_EQ(drop_pos, BPoint(7, 7));

	BMessage scaled(kit_code("what"));
	scaled.AddPoint("_drop_point_", canvas->ConvertToScreen(BPoint(100, 80)));
	scaled.AddPoint("_drop_offset_", BPoint(40, 20));
	scaled.AddFloat("scale", 2);
	BMessenger(canvas).SendMessage(&scaled);
	program.Idle();
	EXPECT_EQ(drop_pos, BPoint(80, 70));
}

TEST_F(PicturesIn, NegotiationAsksForTheFirstImageTypeOffered)
{
	auto negotiate = [&](const std::vector<const char*>& types) {
		BMessage drop(B_SIMPLE_DATA);
		drop.AddString("be:clip_name", "clip");
		for (const char* type : types)
			drop.AddString("be:types", type);
		std::vector<BMessage> replies;
		kit::testing::RecordReplies(drop, [&](const BMessage& reply, BHandler* replyTo) {
			replies.push_back(reply);
			EXPECT_EQ(replyTo, program.Canvas());
		});
		BMessenger(program.Canvas()).SendMessage(&drop);
		program.Idle();
		return replies;
	};

	auto replies = negotiate({"text/plain", "image/jpeg", "image/png"});
	ASSERT_EQ(replies.size(), 1u);
	EXPECT_EQ(replies[0].what, B_COPY_TARGET);
	EXPECT_EQ(replies[0].CountNames(B_ANY_TYPE), 1);
	type_code type;
	int32 count;
	ASSERT_EQ(replies[0].GetInfo("be:types", &type, &count), B_OK);
	EXPECT_EQ(count, 1);
	const char* chosen;
	replies[0].FindString("be:types", &chosen);
	EXPECT_STREQ(chosen, "image/jpeg");

	replies = negotiate({"image/x-be-bitmap", "image/png"});
	ASSERT_EQ(replies.size(), 1u);
	replies[0].FindString("be:types", &chosen);
	EXPECT_STREQ(chosen, "image/x-be-bitmap");

	EXPECT_TRUE(negotiate({"text/plain", "application/pdf"}).empty());
	EXPECT_TRUE(negotiate({}).empty());
	EXPECT_EQ(program.Canvas()->image, nullptr);
}

// A picture whose pixel (x, y) is (x, y, 7), to tell where each source pixel lands.
std::unique_ptr<BBitmap> coordinate_picture(int w, int h)
{
	auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, w - 1, h - 1), B_RGB32);
	for (int y = 0; y < h; y++) {
		for (int x = 0; x < w; x++) {
			uint8* p = static_cast<uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
			p[0] = 7;
			p[1] = uint8(y);
			p[2] = uint8(x);
			p[3] = 255;
		}
	}
	return bitmap;
}

class Pasting : public PicturesIn {
protected:
	void Drop(const BBitmap& picture, const char* type = "image/png")
	{
		std::string bytes = encode(picture, kit_code("PNG "));
		BMessage data(B_MIME_DATA);
		data.AddData(type, B_MIME_TYPE, bytes.data(), ssize_t(bytes.size()));
		BMessenger(program.Canvas()).SendMessage(&data);
		program.Idle();
	}

	// The canvas picture's pixel as (r, g, b).
	rgb_color At(int x, int y)
	{
		const uint8* p = PixelAt(*program.Canvas()->image, x, y);
		return make_color(p[2], p[1], p[0]);
	}

	void StartWithGrey()
	{
		set_title(program.Canvas()->title, "base.png");
		show_picture(program.Canvas(), make_picture(200, 100, 100, 100, 100));
	}
};

TEST_F(Pasting, DataOnAnEmptyCanvasBecomesThePicture)
{
	drop_pos = BPoint(33, 44);
	auto picture = coordinate_picture(40, 30);
	Drop(*picture);
	dorvaview* canvas = program.Canvas();
	ASSERT_NE(canvas->image, nullptr);
	EXPECT_EQ(canvas->image->Bounds(), BRect(0, 0, 39, 29));
	EXPECT_EQ(drop_pos, BPoint(0, 0));
	EXPECT_STREQ(canvas->title, "no title");
	EXPECT_STREQ(program.Window()->Title(), "no title[40x30]");
	for (int y : {0, 15, 29})
		for (int x : {0, 20, 39})
			EXPECT_EQ(At(x, y), make_color(x, y, 7)) << x << "," << y;
}

TEST_F(Pasting, PastesAtTheDropPositionClippedToThePicture)
{
	StartWithGrey();
	const rgb_color grey = make_color(100, 100, 100);

	drop_pos = BPoint(-20, 10);
	Drop(*coordinate_picture(100, 50));
	EXPECT_EQ(At(0, 10), make_color(20, 0, 7));
	EXPECT_EQ(At(79, 59), make_color(99, 49, 7));
	EXPECT_EQ(At(80, 10), grey);
	EXPECT_EQ(At(0, 9), grey);
	EXPECT_EQ(At(0, 60), grey);
	// The window keeps its size: a paste only redraws.
	EXPECT_STREQ(program.Window()->Title(), "base.png[200x100]");

	StartWithGrey();
	drop_pos = BPoint(-0.5f, 3.7f);
	Drop(*coordinate_picture(5, 5));
	EXPECT_EQ(At(0, 3), make_color(0, 0, 7));
	EXPECT_EQ(At(0, 2), grey);

	StartWithGrey();
	drop_pos = BPoint(190, 90);
	Drop(*coordinate_picture(20, 20));
	EXPECT_EQ(At(190, 90), make_color(0, 0, 7));
	EXPECT_EQ(At(199, 99), make_color(9, 9, 7));
	EXPECT_EQ(At(189, 99), grey);
	EXPECT_EQ(At(199, 89), grey);
}

// Drops that reach the picture by a single column or row, on each side, and one cut by the
// picture's top edge.
TEST_F(Pasting, DropsOverlappingByOneColumnOrRowAndClippedAtTheTop)
{
	const rgb_color grey = make_color(100, 100, 100);
	const struct {
		BPoint at;
		int32 x, y; // the canvas pixel that the drop's pixel (px, py) lands on
		int32 px, py;
		int32 beyondX, beyondY; // a pixel just past the pasted part, still grey
	} drops[] = {
		{BPoint(-99, 10), 0, 10, 99, 0, 1, 10},    // its last column on the left edge
		{BPoint(199, 10), 199, 10, 0, 0, 198, 10}, // its first column on the right edge
		{BPoint(10, -49), 10, 0, 0, 49, 10, 1},    // its last row on the top edge
		{BPoint(10, 99), 10, 99, 0, 0, 10, 98},    // its first row on the bottom edge
		{BPoint(30, -20), 30, 0, 0, 20, 30, 30},   // cut at the top
	};
	for (const auto& drop : drops) {
		SCOPED_TRACE(testing::Message() << drop.at.x << ", " << drop.at.y);
		StartWithGrey();
		drop_pos = drop.at;
		Drop(*coordinate_picture(100, 50));
		EXPECT_EQ(At(drop.x, drop.y), make_color(uint8(drop.px), uint8(drop.py), 7));
		EXPECT_EQ(At(drop.beyondX, drop.beyondY), grey);
	}
	// Cut at the top: the rest of the drop lands whole below the edge.
	EXPECT_EQ(At(129, 29), make_color(99, 49, 7));
	EXPECT_EQ(At(130, 0), grey);
	EXPECT_EQ(At(29, 0), grey);
}

TEST_F(Pasting, IgnoresDataThatIsNoPicture)
{
	StartWithGrey();
	BBitmap* before = program.Canvas()->image;

	// The first MIME field decides, even when a later one holds an image.
	std::string png = encode(*coordinate_picture(10, 10), kit_code("PNG "));
	BMessage textFirst(B_MIME_DATA);
	textFirst.AddData("text/plain", B_MIME_TYPE, "hello", 5);
	textFirst.AddData("image/png", B_MIME_TYPE, png.data(), ssize_t(png.size()));
	drop_pos = BPoint(0, 0);
	BMessenger(program.Canvas()).SendMessage(&textFirst);

	// Image data that does not decode, and a message with no data at all.
	BMessage garbage(B_MIME_DATA);
	garbage.AddData("image/png", B_MIME_TYPE, "\x89PNG garbage", 12);
	BMessenger(program.Canvas()).SendMessage(&garbage);
	BMessenger(program.Canvas()).SendMessage(B_MIME_DATA);
	// A DATA message with neither refs nor a clip name is data too.
	BMessage plainData(B_SIMPLE_DATA);
	plainData.AddData("image/jpeg", B_MIME_TYPE, "nope", 4);
	BMessenger(program.Canvas()).SendMessage(&plainData);
	program.Idle();

	EXPECT_EQ(program.Canvas()->image, before);
	EXPECT_EQ(At(0, 0), make_color(100, 100, 100));
}

TEST_F(Pasting, RawBitmapDataIsPastedAndALyingHeaderIsRefused)
{
	StartWithGrey();
	auto source = coordinate_picture(4, 3);
	std::vector<uint8> pixels(static_cast<uint8*>(source->Bits()),
		static_cast<uint8*>(source->Bits()) + source->BitsLength());
	std::vector<uint8> raw = BitmapStreamBytes(MakeHeader(0, 0, 3, 2), pixels);

	drop_pos = BPoint(50, 50);
	BMessage exact(B_MIME_DATA);
	exact.AddData("image/x-be-bitmap", B_MIME_TYPE, raw.data(), ssize_t(raw.size()));
	BMessenger(program.Canvas()).SendMessage(&exact);
	program.Idle();
	EXPECT_EQ(At(53, 52), make_color(3, 2, 7));

	// Under any other name the same bytes go through the translators, which know the
	// stream format too.
	drop_pos = BPoint(150, 50);
	BMessage near(B_MIME_DATA);
	near.AddData("image/x-be-bitmaps", B_MIME_TYPE, raw.data(), ssize_t(raw.size()));
	BMessenger(program.Canvas()).SendMessage(&near);
	program.Idle();
	EXPECT_EQ(At(153, 52), make_color(3, 2, 7));

	// Bytes after the rows the header announces are not part of the picture: the rows are
	// pasted all the same.
	std::vector<uint8> trailing = raw;
	trailing.insert(trailing.end(), 2000, 0xee);
	drop_pos = BPoint(100, 60);
	BMessage extra(B_MIME_DATA);
	extra.AddData("image/x-be-bitmap", B_MIME_TYPE, trailing.data(), ssize_t(trailing.size()));
	BMessenger(program.Canvas()).SendMessage(&extra);
	program.Idle();
	EXPECT_EQ(At(103, 62), make_color(3, 2, 7));
	EXPECT_EQ(At(104, 62), make_color(100, 100, 100));

	// A header that lies about its data is refused without touching the picture.
	std::vector<uint8> lying = BitmapStreamBytes(MakeHeader(0, 0, 999, 999), pixels);
	drop_pos = BPoint(0, 0);
	BMessage bad(B_MIME_DATA);
	bad.AddData("image/x-be-bitmap", B_MIME_TYPE, lying.data(), ssize_t(lying.size()));
	BMessenger(program.Canvas()).SendMessage(&bad);
	program.Idle();
	EXPECT_EQ(At(0, 0), make_color(100, 100, 100));
}

TEST_F(PicturesIn, OpenPanelBookkeeping)
{
	dorvaview* canvas = program.Canvas();
	BMessenger(canvas).SendMessage(CMD_FILE_OPEN);
	program.Idle();
	ASSERT_NE(canvas->panel, nullptr);
	auto shown = kit::testing::ShownFilePanels();
	ASSERT_EQ(shown.size(), 1u);
	BFilePanel* first = canvas->panel;

	BMessenger(canvas).SendMessage(CMD_FILE_OPEN);
	program.Idle();
	EXPECT_EQ(canvas->panel, first);
	EXPECT_EQ(kit::testing::ShownFilePanels().size(), 1u);

	// The answer travels through the application back to the canvas, then the panel's
	// closing lets a new one open.
	std::string path = WritePicture("chosen.png", kit_code("PNG "));
	kit::testing::AnswerFilePanel(first, {path});
	program.Idle();
	EXPECT_EQ(canvas->panel, nullptr);
	ASSERT_NE(canvas->image, nullptr);
	EXPECT_STREQ(canvas->title, "chosen.png");

	BMessenger(canvas).SendMessage(CMD_FILE_OPEN);
	program.Idle();
	ASSERT_NE(canvas->panel, nullptr);
	kit::testing::CancelFilePanel(canvas->panel);
	program.Idle();
	EXPECT_EQ(canvas->panel, nullptr);
	EXPECT_STREQ(canvas->title, "chosen.png");
}

// Nothing is kept between runs, by the panels either: each starts in the current directory
// with no history, and none leaves a settings file behind.
TEST_F(PicturesIn, FilePanelsStartAfreshAndRememberNothing)
{
	const char* configHome = std::getenv("XDG_CONFIG_HOME");
	const std::filesystem::path settings =
		std::filesystem::path(
			configHome != nullptr ? configHome : std::string(std::getenv("HOME")) + "/.config")
		/ "QtProject.conf";
	std::error_code error;
	const bool existed = std::filesystem::exists(settings);
	const auto before = std::filesystem::last_write_time(settings, error);

	dorvaview* canvas = program.Canvas();
	for (int round = 0; round < 2; round++) {
		BMessenger(canvas).SendMessage(CMD_FILE_OPEN);
		program.Idle();
		ASSERT_NE(canvas->panel, nullptr);
		const std::string here = std::filesystem::current_path().string();
		EXPECT_EQ(kit::testing::FilePanelFolder(canvas->panel), here);
		// The dialog counts the folder it shows as visited, and nothing else.
		EXPECT_EQ(kit::testing::FilePanelHistory(canvas->panel), std::vector<std::string>{here});
		kit::testing::AnswerFilePanel(canvas->panel, {WritePicture("seen.png", kit_code("PNG "))});
		program.Idle();
		ASSERT_EQ(canvas->panel, nullptr);
	}
	ASSERT_EQ(std::filesystem::exists(settings), existed) << settings;
	if (existed) {
		EXPECT_EQ(std::filesystem::last_write_time(settings, error), before);
	}
}

} // namespace

namespace {

TEST_F(Pasting, ADraggedClippingIsNegotiatedAndPastedWhereItWasDropped)
{
	StartWithGrey();
	std::string png = encode(*coordinate_picture(10, 10), kit_code("PNG "));
	BPoint where = program.Canvas()->ConvertToScreen(BPoint(30, 40));
	kit::testing::DropData(program.Canvas(),
		{{"text/plain", "a caption"}, {"image/png", png}, {"image/bmp", "not used"}}, where);
	program.Idle();
	EXPECT_EQ(drop_pos, BPoint(30, 40));
	EXPECT_EQ(At(30, 40), make_color(0, 0, 7));
	EXPECT_EQ(At(39, 49), make_color(9, 9, 7));
	EXPECT_EQ(At(29, 40), make_color(100, 100, 100));
}

TEST_F(PicturesIn, FilesDroppedOnTheWindowAreOpened)
{
	std::string path = WritePicture("dropped.png", kit_code("PNG "), 20, 10);
	kit::testing::DropFiles(
		program.Canvas(), {path}, program.Canvas()->ConvertToScreen(BPoint(5, 5)));
	program.Idle();
	ASSERT_NE(program.Canvas()->image, nullptr);
	EXPECT_STREQ(program.Canvas()->title, "dropped.png");
}

} // namespace

namespace {

// A width x height picture of four quadrants: red top left, green top right, blue bottom
// left, white bottom right; colours that every format keeps apart.
std::unique_ptr<BBitmap> quadrant_picture(int w, int h)
{
	auto bitmap = std::make_unique<BBitmap>(BRect(0, 0, w - 1, h - 1), B_RGB32);
	for (int y = 0; y < h; y++) {
		for (int x = 0; x < w; x++) {
			uint8* p = static_cast<uint8*>(bitmap->Bits()) + y * bitmap->BytesPerRow() + x * 4;
			bool right = x >= w / 2, bottom = y >= h / 2;
			rgb_color colour = !bottom
				? (right ? make_color(0, 255, 0) : make_color(255, 0, 0))
				: (right ? make_color(255, 255, 255) : make_color(0, 0, 255));
			p[0] = colour.blue;
			p[1] = colour.green;
			p[2] = colour.red;
			p[3] = 255;
		}
	}
	return bitmap;
}

// Which quadrant colour a pixel is nearest to: 'r', 'g', 'b' or 'w'.
char quadrant_at(const BBitmap& bitmap, int x, int y)
{
	const uint8* p = PixelAt(bitmap, x, y);
	int r = p[2], g = p[1], b = p[0];
	if (r > 128 && g > 128 && b > 128)
		return 'w';
	if (r > 128)
		return 'r';
	if (g > 128)
		return 'g';
	return b > 128 ? 'b' : '?';
}

TEST_F(PicturesIn, PhotosAreShownTheRightWayUp)
{
	// Orientation 6: the picture is stored lying on its left side and is turned clockwise
	// to be shown, as a phone held upright writes it. 60 x 30 stored, 30 x 60 shown.
	const std::pair<const char*, uint32> formats[] = {
		{"turned.jpeg", kit_code("JPEG")},
		{"turned.png", kit_code("PNG ")},
		{"turned.webp", kit_code("WEBP")},
		{"turned.tiff", kit_code("TIFF")},
	};
	for (const auto& [name, type] : formats) {
		std::string stored = encode(*quadrant_picture(60, 30), type);
		Open({folder.WriteFile(name, WithOrientation(stored, 6, 60, 30))});
		ASSERT_NE(program.Canvas()->image, nullptr) << name;
		const BBitmap& shown = *program.Canvas()->image;
		EXPECT_EQ(shown.Bounds(), BRect(0, 0, 29, 59)) << name;
		EXPECT_EQ(std::string(program.Window()->Title()), std::string(name) + "[30x60]");
		// Turned clockwise: the stored top left (red) is now the top right, and so on.
		EXPECT_EQ(quadrant_at(shown, 22, 7), 'r') << name;
		EXPECT_EQ(quadrant_at(shown, 22, 52), 'g') << name;
		EXPECT_EQ(quadrant_at(shown, 7, 7), 'b') << name;
		EXPECT_EQ(quadrant_at(shown, 7, 52), 'w') << name;
	}
}

TEST_F(PicturesIn, EveryOrientationTurnsEveryPixel)
{
	const int w = 5, h = 3;
	std::string stored = encode(*coordinate_picture(w, h), kit_code("PNG "));
	// Where shown pixel (x, y) comes from, for each orientation: the EXIF definitions of
	// where the stored first row and first column are to be shown.
	auto source_of = [&](int orientation, int x, int y) -> std::pair<int, int> {
		switch (orientation) {
			case 2:
				return {w - 1 - x, y};
			case 3:
				return {w - 1 - x, h - 1 - y};
			case 4:
				return {x, h - 1 - y};
			case 5:
				return {y, x};
			case 6:
				return {y, h - 1 - x};
			case 7:
				return {w - 1 - y, h - 1 - x};
			case 8:
				return {w - 1 - y, x};
			default:
				return {x, y};
		}
	};
	for (int orientation = 1; orientation <= 8; orientation++) {
		Open({folder.WriteFile("o.png", WithOrientation(stored, uint16(orientation), w, h))});
		ASSERT_NE(program.Canvas()->image, nullptr) << orientation;
		const BBitmap& shown = *program.Canvas()->image;
		bool turned = orientation >= 5;
		ASSERT_EQ(shown.PixelWidth(), turned ? h : w) << orientation;
		ASSERT_EQ(shown.PixelHeight(), turned ? w : h) << orientation;
		for (int y = 0; y < shown.PixelHeight(); y++) {
			for (int x = 0; x < shown.PixelWidth(); x++) {
				auto [sx, sy] = source_of(orientation, x, y);
				const uint8* p = PixelAt(shown, x, y);
				EXPECT_EQ(p[2], sx) << orientation << " at " << x << "," << y;
				EXPECT_EQ(p[1], sy) << orientation << " at " << x << "," << y;
			}
		}
	}
}

// What a failed load leaves: an empty canvas named after the file.
#define EXPECT_REFUSED(name) \
	do { \
		EXPECT_EQ(program.Canvas()->image, nullptr) << name; \
		EXPECT_STREQ(program.Canvas()->title, name); \
		EXPECT_STREQ(program.Window()->Title(), "dorva ver.0.00"); \
	} while (false)

TEST_F(PicturesIn, AHeaderPromisingRowsThatNeverCameIsRefused)
{
	// 32 bytes: a 1 x 1 picture with rows of 1 GiB, and none of them.
	std::vector<uint8> header = BitmapStreamBytes(MakeHeader(0, 0, 0, 0, B_RGB32, 1u << 30), {});
	ASSERT_EQ(header.size(), 32u);
	const std::string bytes(header.begin(), header.end());
	std::string good = WritePicture("good.png", kit_code("PNG "));
	Open({good});
	Open({folder.WriteFile("promise.bits", bytes)});
	EXPECT_REFUSED("promise.bits");

	// Eight of them in one message: each refused, the canvas named after the last.
	std::vector<std::string> eight;
	for (int i = 0; i < 8; i++)
		eight.push_back(folder.WriteFile("promise" + std::to_string(i) + ".bits", bytes));
	Open(eight);
	EXPECT_REFUSED("promise7.bits");

	// Dropped as raw bitmap data on a picture: ignored.
	Open({good});
	BBitmap* before = program.Canvas()->image;
	BMessage drop(B_MIME_DATA);
	drop.AddData("image/x-be-bitmap", B_MIME_TYPE, bytes.data(), ssize_t(bytes.size()));
	BMessenger(program.Canvas()).SendMessage(&drop);
	program.Idle();
	EXPECT_EQ(program.Canvas()->image, before);
	EXPECT_STREQ(program.Canvas()->title, "good.png");
}

TEST_F(PicturesIn, DecompressionBombsAreRefusedAndOrdinaryPicturesAlwaysOpen)
{
	std::string good = WritePicture("good.png", kit_code("PNG "));

	// 144 Mpixel from a PNG of some 20 KB, and a JPEG of a few hundred bytes that claims
	// as much: refused, as a file that does not decode would be.
	const std::pair<std::string, std::string> bombs[] = {
		{"bomb.png", BlackGreyPng(12000, 12000, 1)},
		{"bomb.jpeg",
			JpegClaimingSize(encode(*MakeSmoothBitmap(16, 16), kit_code("JPEG")), 12000, 12000)},
	};
	for (const auto& [name, bytes] : bombs) {
		ASSERT_LT(bytes.size(), 100000u) << name;
		Open({good});
		Open({folder.WriteFile(name, bytes)});
		EXPECT_REFUSED(name.c_str());
	}

	// A picture of ordinary size opens however well it compresses: 4 Mpixel of a single
	// colour from a file of a few KB, some thousand pixels a byte.
	std::string flat = BlackGreyPng(2048, 2048, 8);
	ASSERT_LT(flat.size(), 10000u);
	Open({folder.WriteFile("flat.png", flat)});
	ASSERT_NE(program.Canvas()->image, nullptr);
	EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, 2047, 2047));
	const uint8* corner = PixelAt(*program.Canvas()->image, 2047, 2047);
	EXPECT_EQ(corner[0] | corner[1] | corner[2], 0);
}

// The limits at their exact edges: exactly 64 Mpixel of a single colour (a file of a few
// KB) opens, one row more is a bomb; exactly 32768 pixels wide opens, one more is refused.
TEST_F(PicturesIn, TheSizeLimitsHoldToTheirExactEdges)
{
	std::string good = WritePicture("good.png", kit_code("PNG "));
	const struct {
		uint32 width, height;
		bool opens;
	} sizes[] = {{8192, 8192, true}, {8192, 8193, false}, {32768, 1, true}, {32769, 1, false}};
	for (const auto& size : sizes) {
		const std::string name =
			std::to_string(size.width) + "x" + std::to_string(size.height) + ".png";
		SCOPED_TRACE(name);
		std::string flat = BlackGreyPng(size.width, size.height, 1);
		ASSERT_LT(flat.size() * 100, size_t(size.width) * size.height);
		Open({good});
		Open({folder.WriteFile(name, flat)});
		if (!size.opens) {
			EXPECT_REFUSED(name.c_str());
			continue;
		}
		ASSERT_NE(program.Canvas()->image, nullptr);
		EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, size.width - 1, size.height - 1));
		const uint8* corner = PixelAt(*program.Canvas()->image, size.width - 1, size.height - 1);
		EXPECT_EQ(corner[0] | corner[1] | corner[2], 0);
	}
}

TEST_F(PicturesIn, VectorPicturesAreDrawnWithinTheLimits)
{
	// An SVG of 150 bytes that declares a picture 1000000 x 1000: drawn as wide as a
	// bitmap may be, its proportions kept.
	std::string svg =
		"<svg xmlns='http://www.w3.org/2000/svg' width='1000000' height='1000'>"
		"<rect width='1000000' height='1000' fill='#ff0000'/></svg>";
	Open({folder.WriteFile("wide.svg", svg)});
	ASSERT_NE(program.Canvas()->image, nullptr);
	EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, 32767, 31));
	const uint8* p = PixelAt(*program.Canvas()->image, 30000, 20);
	EXPECT_EQ(make_color(p[2], p[1], p[0]), make_color(255, 0, 0));
	EXPECT_STREQ(program.Window()->Title(), "wide.svg[32768x32]");

	// One of 120 bytes that declares 268 Mpixel: drawn at 16 Mpixel.
	svg =
		"<svg xmlns='http://www.w3.org/2000/svg' width='16384' height='16384'>"
		"<rect width='100%' height='100%' fill='red'/></svg>";
	Open({folder.WriteFile("bomb.svg", svg)});
	ASSERT_NE(program.Canvas()->image, nullptr);
	EXPECT_EQ(program.Canvas()->image->Bounds(), BRect(0, 0, 4095, 4095));
}

TEST_F(PicturesIn, ADataMessageWhoseRefsAreNoFileReferencesChangesNothing)
{
	std::string good = WritePicture("good.png", kit_code("PNG "));
	Open({good});
	BBitmap* before = program.Canvas()->image;

	// What "dorva-send DATA refs=int32:7" sends.
	BMessage numbers(B_SIMPLE_DATA);
	numbers.AddInt32("refs", 7);
	BMessenger(program.Canvas()).SendMessage(&numbers);
	// Refs whose bytes are no reference: the last byte the only NUL, none at all, three.
	for (const std::string& bytes : {std::string("name\0", 5), std::string("name"),
			 std::string("a\0b\0c\0", 6), std::string()}) {
		BMessage broken(B_SIMPLE_DATA);
		broken.AddData("refs", B_REF_TYPE, bytes.data(), ssize_t(bytes.size()));
		BMessenger(program.Canvas()).SendMessage(&broken);
	}
	program.Idle();
	EXPECT_EQ(program.Canvas()->image, before);
	EXPECT_STREQ(program.Canvas()->title, "good.png");

	// A broken value among good ones is passed over.
	std::string second = WritePicture("second.png", kit_code("PNG "), 20, 10);
	BMessage mixed(B_SIMPLE_DATA);
	mixed.AddData("refs", B_REF_TYPE, "x\0", 2);
	entry_ref ref = ref_for(second);
	mixed.AddRef("refs", &ref);
	BMessenger(program.Canvas()).SendMessage(&mixed);
	program.Idle();
	EXPECT_STREQ(program.Canvas()->title, "second.png");
}

TEST_F(Pasting, AbsurdDropPositionsPasteNothingAndBadScalesAreLeftOut)
{
	StartWithGrey();
	const rgb_color grey = make_color(100, 100, 100);
	std::string png = encode(*coordinate_picture(10, 10), kit_code("PNG "));
	auto drop_at = [&](BPoint screenPoint, BPoint offset, const float* scale) {
		BMessage data(B_MIME_DATA);
		data.AddData("image/png", B_MIME_TYPE, png.data(), ssize_t(png.size()));
		data.AddPoint("_drop_point_", screenPoint);
		data.AddPoint("_drop_offset_", offset);
		if (scale != nullptr)
			data.AddFloat("scale", *scale);
		BMessenger(program.Canvas()).SendMessage(&data);
		program.Idle();
	};

	// Far beyond any picture: nothing is pasted.
	for (float far : {1e30f, -1e30f, 3e9f}) {
		drop_at(BPoint(far, far), BPoint(0, 0), nullptr);
		EXPECT_EQ(At(0, 0), grey) << far;
		EXPECT_EQ(At(199, 99), grey) << far;
	}
	ASSERT_STREQ(program.Window()->Title(), "base.png[200x100]");

	// A position that is no number leaves the remembered one, here (20, 30).
	BPoint at = program.Canvas()->ConvertToScreen(BPoint(20, 30));
	drop_at(at, BPoint(0, 0), nullptr);
	EXPECT_EQ(At(20, 30), make_color(0, 0, 7));
	const float nan = std::numeric_limits<float>::quiet_NaN();
	const float inf = std::numeric_limits<float>::infinity();
	drop_at(BPoint(nan, 5), BPoint(0, 0), nullptr);
	drop_at(BPoint(3e38f, 3e38f), BPoint(-3e38f, -3e38f), nullptr); // overflows to infinity
	EXPECT_EQ(drop_pos, BPoint(20, 30));

	// A scale of zero, or none at all, is left out: the offset is taken as it is.
	for (float scale : {0.0f, nan, inf}) {
		StartWithGrey();
		drop_at(program.Canvas()->ConvertToScreen(BPoint(50, 50)), BPoint(10, 10), &scale);
		EXPECT_EQ(drop_pos, BPoint(40, 40)) << scale;
		EXPECT_EQ(At(40, 40), make_color(0, 0, 7)) << scale;
		EXPECT_EQ(At(39, 40), grey) << scale;
	}
}

} // namespace
