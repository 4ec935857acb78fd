// dorva-render --layout wall as a user runs it: a 13-page calendar read back through
// poppler's tools, on its text, its page boxes and its pictures.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
#include <set>
#include <sstream>

#include "ExifBuilder.h"
#include "ImageFixtures.h"
#include "ShellCommands.h"
#include "TempDirectory.h"
#include "TranslatorRoster.h"
#include "civil_date.h"
#include "tr.h"
#include "wall_layout.h"

namespace {

// dorva-render's exit status; its standard error in *errors.
int render(const std::vector<std::string>& arguments, std::string* errors = nullptr)
{
	std::string command = "LC_ALL=C.UTF-8 " + ShellQuoted(DORVA_RENDER);
	for (const std::string& argument : arguments)
		command += " " + ShellQuoted(argument);
	int status = -1;
	std::string text = OutputOf(command + " 2>&1 >/dev/null", &status);
	if (errors != nullptr)
		*errors = text;
	return status;
}

// A photo-like JPEG of the size: a gradient, so that JPEG keeps it small.
std::string write_jpeg(const TempDirectory& folder, const std::string& name, int width, int height)
{
	BBitmap picture(BRect(0, 0, width - 1, height - 1), B_RGB32);
	for (int y = 0; y < height; y++) {
		auto* row = static_cast<uint8*>(picture.Bits()) + y * picture.BytesPerRow();
		for (int x = 0; x < width; x++) {
			row[x * 4] = uint8(x * 255 / width);
			row[x * 4 + 1] = uint8(y * 255 / height);
			row[x * 4 + 2] = 160;
			row[x * 4 + 3] = 255;
		}
	}
	BMallocIO jpeg;
	if (EncodeBitmap(tr, picture, kit_code("JPEG"), &jpeg) != B_OK)
		return "";
	return folder.WriteFile(
		name, std::string(static_cast<const char*>(jpeg.Buffer()), jpeg.BufferLength()));
}

std::string page_text(const std::string& pdf, int page)
{
	return OutputOf("pdftotext -enc UTF-8 -f " + std::to_string(page) + " -l "
		+ std::to_string(page) + " " + ShellQuoted(pdf) + " -");
}

std::set<std::string> words_of(const std::string& text)
{
	std::set<std::string> words;
	std::istringstream stream(text);
	std::string word;
	while (stream >> word)
		words.insert(word);
	return words;
}

// A page's box as pdfinfo -box tells it: left, bottom, right, top in points.
std::optional<std::array<double, 4>> box_of(const std::string& boxes, int page, const char* box)
{
	std::regex line("Page +" + std::to_string(page) + " " + box
		+ ": +([0-9.]+) +([0-9.]+) +([0-9.]+) +([0-9.]+)");
	std::smatch found;
	if (!std::regex_search(boxes, found, line))
		return std::nullopt;
	return std::array<double, 4>{
		std::stod(found[1]), std::stod(found[2]), std::stod(found[3]), std::stod(found[4])};
}

class WallCalendar : public ::testing::Test {
protected:
	void SetUp() override
	{
		if (tr == nullptr)
			tr = BTranslatorRoster::Default();
		if (!HavePoppler())
			GTEST_SKIP() << "poppler-utils (pdftotext, pdfimages) is not installed";
	}
	TempDirectory folder;
};

} // namespace

TEST_F(WallCalendar, ItsTextNamesMonthsDaysWeeksHolidaysAndEventsInTheLanguageAsked)
{
	const std::string photo = write_jpeg(folder, "photo.jpg", 320, 240);
	const std::string events = folder.WriteFile("family.ics",
		"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
		"BEGIN:VEVENT\r\nUID:anna@test\r\nDTSTART;VALUE=DATE:19800314\r\n"
		"RRULE:FREQ=YEARLY\r\nSUMMARY:Annas Geburtstag\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
	struct language_case {
		std::string language, holidays;
		std::string january, december, newYear;
	};
	const language_case cases[] = {
		{"de", "de", "Januar", "Dezember", "Neujahr"},
		{"fr", "fr", "janvier", "décembre", "Jour de l'an"},
	};
	for (const language_case& test : cases) {
		SCOPED_TRACE(test.language);
		const std::string pdf = folder.Child("calendar-" + test.language + ".pdf");
		ASSERT_EQ(render({"--layout", "wall", "--year", "2026", "--lang", test.language,
					  "--week-numbers", "--week-start", "monday", "--holidays", test.holidays,
					  "--events", events, photo, "-o", pdf}),
			0);
		EXPECT_TRUE(
			std::regex_search(OutputOf("pdfinfo " + ShellQuoted(pdf)), std::regex("Pages: +13\n")));
		EXPECT_NE(page_text(pdf, 1).find("2026"), std::string::npos);
		const std::string january = page_text(pdf, 2);
		EXPECT_NE(january.find(test.january), std::string::npos) << january;
		EXPECT_NE(january.find(test.newYear), std::string::npos) << january;
		EXPECT_NE(page_text(pdf, 13).find(test.december), std::string::npos);
		EXPECT_NE(page_text(pdf, 4).find("Annas Geburtstag"), std::string::npos);

		// Every date of every month, and the ISO weeks: 2026 has a week 53, and 1 January
		// 2026 (a Thursday) is in week 1; no week 53 shows in January.
		for (int month = 1; month <= 12; month++) {
			const std::set<std::string> words = words_of(page_text(pdf, month + 1));
			for (int day = 1; day <= days_in_month(2026, month); day++)
				EXPECT_TRUE(words.count(std::to_string(day))) << month << "-" << day;
			if (month == 12)
				EXPECT_TRUE(words.count("53"));
			if (month == 1)
				EXPECT_FALSE(words.count("53"));
		}
	}
}

TEST_F(WallCalendar, ItsPagesCarryTrimAndBleedBoxesAndItsPhotosPrintAt300PpiAtMost)
{
	// The cover's picture is far too small for the page; January's more than big enough.
	const std::string small = write_jpeg(folder, "a-small.jpg", 400, 300);
	const std::string large = write_jpeg(folder, "b-large.jpg", 3200, 2400);
	const std::string pdf = folder.Child("print.pdf");
	std::string errors;
	ASSERT_EQ(render({"--layout", "wall", "--page", "a4", "--bleed", "3", "--crop-marks",
						 folder.Path().string(), "-o", pdf},
				  &errors),
		0);
	// Named, with its resolution, where it would print under 200 ppi.
	EXPECT_TRUE(
		std::regex_search(errors, std::regex("a-small\\.jpg: prints at [0-9]+ ppi on page 1")))
		<< errors;
	EXPECT_EQ(errors.find("b-large.jpg: prints"), std::string::npos) << errors;

	// The trim is A4 exactly, 595.28 x 841.89 points; the bleed 3 mm around it, and the
	// page as much larger again as the marks need (8.5 mm; the page is whole points).
	const double mm = 72 / 25.4;
	const std::string boxes = OutputOf("pdfinfo -box -f 1 -l 13 " + ShellQuoted(pdf));
	for (int page = 1; page <= 13; page++) {
		SCOPED_TRACE(page);
		const auto media = box_of(boxes, page, "MediaBox");
		const auto trim = box_of(boxes, page, "TrimBox");
		const auto bleed = box_of(boxes, page, "BleedBox");
		ASSERT_TRUE(media && trim && bleed) << boxes;
		EXPECT_NEAR((*trim)[2] - (*trim)[0], 595.28, 0.02);
		EXPECT_NEAR((*trim)[3] - (*trim)[1], 841.89, 0.02);
		for (int i = 0; i < 4; i++) {
			const double outward = i < 2 ? -1 : 1;
			EXPECT_NEAR((*bleed)[i], (*trim)[i] + outward * 3 * mm, 0.02) << i;
			EXPECT_NEAR((*media)[i], (*bleed)[i] + outward * 8.5 * mm, 0.5) << i;
		}
	}

	// Each page's photo is one JPEG: January's downsampled to 300 ppi across the page and
	// its bleed (216 mm), the cover's kept at its own size, never enlarged.
	const std::string images = OutputOf("pdfimages -list " + ShellQuoted(pdf));
	std::regex row(
		"^ +([0-9]+) +[0-9]+ +image +([0-9]+) +([0-9]+) +rgb +3 +8 +(\\w+) .* ([0-9]+) +([0-9]+) "
		"+[0-9.]+[KMB]* +[0-9.%]+$");
	int pages = 0;
	std::istringstream lines(images);
	std::string line;
	while (std::getline(lines, line)) {
		std::smatch found;
		if (!std::regex_search(line, found, row))
			continue;
		pages++;
		const int page = std::stoi(found[1]);
		const int width = std::stoi(found[2]);
		EXPECT_EQ(found[4], "jpeg") << line;
		if (page == 2) {
			EXPECT_NEAR(width, 216 / 25.4 * 300, 2) << line;
			EXPECT_NEAR(std::stoi(found[5]), 300, 1) << line;
		}
		if (page == 1)
			EXPECT_LE(width, 300) << line;
	}
	EXPECT_EQ(pages, 13) << images;

	// Without bleed or marks, the trim is the whole page.
	const std::string plain = folder.Child("plain.pdf");
	ASSERT_EQ(render({"--layout", "wall", "--page", "letter", "--orientation", "landscape", small,
				  "-o", plain}),
		0);
	const std::string plainBoxes = OutputOf("pdfinfo -box -f 2 -l 2 " + ShellQuoted(plain));
	const std::array<double, 4> letter = {0, 0, 792, 612};
	EXPECT_EQ(box_of(plainBoxes, 2, "MediaBox"), letter) << plainBoxes;
	EXPECT_EQ(box_of(plainBoxes, 2, "TrimBox"), letter) << plainBoxes;
}

TEST_F(WallCalendar, AsImagesEachPageIsAFileAndNoInputIsWrittenOver)
{
	const std::string photo = write_jpeg(folder, "page-01.png.jpg", 200, 150);
	// An input that the first page's name would replace.
	const std::string taken = write_jpeg(folder, "page-01.jpg", 120, 90);
	const std::string before = ReadWholeFile(taken);
	std::string errors;
	EXPECT_EQ(render({"--layout", "wall", "--dpi", "36", photo, taken, folder.Child("page-%n.jpg")},
				  &errors),
		2)
		<< "the output needs -o";
	EXPECT_EQ(
		render({"--layout", "wall", "--dpi", "36", photo, taken, "-o", folder.Child("page-%n.jpg")},
			&errors),
		1)
		<< errors;
	EXPECT_NE(errors.find("one of the inputs"), std::string::npos) << errors;
	EXPECT_EQ(ReadWholeFile(taken), before);
	for (int page = 2; page <= 13; page++) {
		char name[32];
		std::snprintf(name, sizeof(name), "page-%02d.jpg", page);
		std::string bytes = ReadWholeFile(folder.Child(name));
		status_t status;
		auto image = DecodeBytes(tr, bytes.data(), bytes.size(), &status);
		ASSERT_NE(image, nullptr) << name;
		// A4 at 36 dpi: 297.6 x 421 pixels.
		EXPECT_EQ(image->PixelWidth(), 298) << name;
		EXPECT_EQ(image->PixelHeight(), 421) << name;
	}
	// Without --layout wall, its options are refused.
	EXPECT_EQ(render({"--dpi", "36", photo, "-o", folder.Child("x.png")}, &errors), 2);
	EXPECT_NE(errors.find("--dpi: only with --layout wall"), std::string::npos) << errors;
}

TEST_F(WallCalendar, ThePhotosDayIsCircledOnItsMonthsPageAndNowhereElse)
{
	// A photo taken on 29 February 2024, as its EXIF says.
	BBitmap picture(BRect(0, 0, 159, 119), B_RGB32);
	std::memset(picture.Bits(), 0x80, size_t(picture.BitsLength()));
	BMallocIO jpeg;
	ASSERT_EQ(EncodeBitmap(tr, picture, kit_code("JPEG"), &jpeg), B_OK);
	ExifBuilder exif;
	exif.Text(true, kDateTimeOriginal, "2024:02:29 10:11:12");
	const std::string photo = folder.WriteFile("leap.jpg",
		JpegWithExif(std::string(static_cast<const char*>(jpeg.Buffer()), jpeg.BufferLength()),
			exif.Bytes()));

	const std::vector<std::string> common = {"--layout", "wall", "--year", "2024", "--page", "a4",
		"--week-start", "sunday", "--holidays", "none", "--dpi", "72", photo, "-o"};
	for (const char* name : {"plain", "marked"}) {
		std::vector<std::string> command = common;
		if (std::string(name) == "marked")
			command.insert(command.begin(), "--mark-photo-date");
		command.push_back(folder.Child(std::string(name) + "-%n.png"));
		ASSERT_EQ(render(command), 0) << name;
	}
	// At 72 dpi a pixel is a point. February 2024 begins on a Thursday: the 29th is in the
	// fifth row's fifth column.
	const wall_month_layout layout =
		lay_out_month({210 * kPointsPerMillimetre, 297 * kPointsPerMillimetre}, 5, false);
	// The circle keeps inside the cell, but for its edge's antialiasing.
	BRect cell = layout.cell(4, 4);
	cell.InsetBy(-1, -1);
	for (int page = 1; page <= 13; page++) {
		SCOPED_TRACE(page);
		char suffix[16];
		std::snprintf(suffix, sizeof(suffix), "-%02d.png", page);
		const std::string plainBytes = ReadWholeFile(folder.Child(std::string("plain") + suffix));
		const std::string markedBytes = ReadWholeFile(folder.Child(std::string("marked") + suffix));
		status_t status;
		auto plain = DecodeBytes(tr, plainBytes.data(), plainBytes.size(), &status);
		auto marked = DecodeBytes(tr, markedBytes.data(), markedBytes.size(), &status);
		ASSERT_TRUE(plain && marked);
		int changed = 0, outside = 0;
		for (int32 y = 0; y < plain->PixelHeight(); y++) {
			for (int32 x = 0; x < plain->PixelWidth(); x++) {
				if (std::memcmp(PixelAt(*plain, x, y), PixelAt(*marked, x, y), 3) == 0)
					continue;
				changed++;
				outside +=
					!(x >= cell.left && x <= cell.right && y >= cell.top && y <= cell.bottom);
			}
		}
		EXPECT_EQ(outside, 0);
		if (page == 3)
			EXPECT_GT(changed, 20);
		else
			EXPECT_EQ(changed, 0);
	}
}
