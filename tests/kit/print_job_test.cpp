// PDF files written by print jobs, read back with poppler's tools as a print shop's would:
// several pages, the trim and bleed boxes of a sheet with bleed and slug, photos embedded at
// their own pixel size as JPEG, text kept as text, and the old file kept when writing fails.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Application.h"
#include "Bitmap.h"
#include "ImageFixtures.h"
#include "Message.h"
#include "PrintJob.h"
#include "ShellCommands.h"
#include "SmallDisk.h"
#include "TempDirectory.h"
#include "View.h"

namespace {

const float kMillimetre = 72 / 25.4f;

// What a shell command prints; "" when it fails.
std::string output_of(const std::string& command)
{
	int status;
	std::string output = OutputOf(command, &status);
	return status == 0 ? output : std::string();
}

// A view that fills its bounds with a colour and writes a line of text in black.
class PageView : public BView {
public:
	PageView(BRect frame, rgb_color fill, std::string text)
		: BView(frame, "page", B_FOLLOW_NONE, B_WILL_DRAW), fFill(fill), fText(std::move(text))
	{
	}

	void Draw(BRect) override
	{
		SetHighColor(fFill);
		FillRect(Bounds());
		if (fBitmap != nullptr)
			DrawBitmap(fBitmap, fSource, fDestination);
		SetHighColor(0, 0, 0);
		SetFontSize(24);
		DrawString(fText.c_str(), BPoint(40, 60));
	}

	void ShowBitmap(const BBitmap* bitmap, BRect source, BRect destination)
	{
		fBitmap = bitmap;
		fSource = source;
		fDestination = destination;
	}

private:
	rgb_color fFill;
	std::string fText;
	const BBitmap* fBitmap = nullptr;
	BRect fSource, fDestination;
};

// Settings for a PDF file on a4 paper, with bleed and slug where they are given.
BMessage* pdf_settings(const std::string& file, int32 orientation, std::optional<float> bleed,
	std::optional<float> slug)
{
	auto* settings = new BMessage;
	settings->AddString("file", file.c_str());
	settings->AddString("paper", "a4");
	settings->AddInt32("orientation", orientation);
	if (bleed)
		settings->AddFloat("bleed", *bleed);
	if (slug)
		settings->AddFloat("slug", *slug);
	return settings;
}

// Prints pages, one view each, filling the job's bleed area; the job's status.
status_t print_pages(BPrintJob* job, int pages, const std::function<void(PageView*)>& dress = {})
{
	job->BeginJob();
	BRect bleed = job->BleedRect();
	for (int page = 1; page <= pages; page++) {
		PageView view(BRect(0, 0, bleed.Width(), bleed.Height()), make_color(255, 0, 0),
			"Page " + std::to_string(page));
		if (dress)
			dress(&view);
		job->DrawView(&view, view.Bounds(), bleed.LeftTop());
		job->SpoolPage();
	}
	job->CommitJob();
	return job->Status();
}

// The four numbers of one box of one page, as pdfinfo -box prints them.
std::vector<double> box_of(const std::string& info, int page, const std::string& box)
{
	std::istringstream lines(info);
	std::string line;
	const std::string label =
		"Page" + std::string(page < 10 ? "    " : "   ") + std::to_string(page) + " " + box + ":";
	while (std::getline(lines, line)) {
		if (line.compare(0, label.size(), label) != 0)
			continue;
		std::istringstream numbers(line.substr(label.size()));
		std::vector<double> values(4);
		for (double& value : values)
			numbers >> value;
		return values;
	}
	return {};
}

// The number of pages that pdfinfo gives.
int page_count(const std::string& info)
{
	size_t at = info.find("Pages:");
	return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// The text of a page, its blank lines and page break left out.
std::string text_of(const std::string& pdf, int page)
{
	const std::string number = std::to_string(page);
	std::string text = output_of("pdftotext -f " + number + " -l " + number + " '" + pdf + "' -");
	while (!text.empty() && std::isspace(uint8(text.back())))
		text.pop_back();
	return text;
}

void expect_box(const std::vector<double>& actual, const std::vector<double>& expected)
{
	ASSERT_EQ(actual.size(), 4u);
	for (size_t i = 0; i < 4; i++)
		EXPECT_NEAR(actual[i], expected[i], 0.006) << "coordinate " << i;
}

void expect_rect(BRect actual, float left, float top, float right, float bottom)
{
	EXPECT_NEAR(actual.left, left, 0.001);
	EXPECT_NEAR(actual.top, top, 0.001);
	EXPECT_NEAR(actual.right, right, 0.001);
	EXPECT_NEAR(actual.bottom, bottom, 0.001);
}

// The pixel at x, y of the first page rendered at one pixel per point (pdftoppm's PPM).
struct rendered_page {
	int width = 0, height = 0;
	std::string pixels;
	rgb_color At(int x, int y) const
	{
		const size_t at = (size_t(y) * width + x) * 3;
		return make_color(uint8(pixels[at]), uint8(pixels[at + 1]), uint8(pixels[at + 2]));
	}
};

rendered_page render(const TempDirectory& folder, const std::string& pdf, int page)
{
	std::string prefix = folder.Child("render");
	std::string number = std::to_string(page);
	output_of("pdftoppm -r 72 -singlefile -f " + number + " -l " + number + " '" + pdf + "' '"
		+ prefix + "'");
	std::string ppm = ReadWholeFile(prefix + ".ppm");
	rendered_page rendered;
	std::istringstream header(ppm);
	std::string magic;
	int most;
	header >> magic >> rendered.width >> rendered.height >> most;
	header.get();
	rendered.pixels = ppm.substr(size_t(header.tellg()));
	return rendered;
}

bool is_red(rgb_color c)
{
	return c.red > 240 && c.green < 20 && c.blue < 20;
}

bool is_white(rgb_color c)
{
	return c.red > 240 && c.green > 240 && c.blue > 240;
}

class PrintJobFile : public testing::Test {
protected:
	void SetUp() override
	{
		fApp = std::make_unique<BApplication>("application/x-vnd.dorva-kit-test");
	}
	void TearDown() override { fApp.reset(); }

	std::unique_ptr<BApplication> fApp;
	TempDirectory fFolder;
};

// A4 with 3 mm of bleed and 10 points of slug: the trim is 210 x 297 mm exactly, the page
// that size plus 2 x 18.504 points, rounded up to whole points, the trim in its middle.
TEST_F(PrintJobFile, ThreePagesOfASheetWithBleedAndSlugCarryTheirBoxes)
{
	if (!HavePoppler())
		GTEST_SKIP() << "poppler's tools are not installed";
	struct sheet {
		int32 orientation;
		double width, height; // the page, whole points
		double trimLeft, trimTop, trimWidth, trimHeight;
	};
	const double a4Width = 210 * 72 / 25.4, a4Height = 297 * 72 / 25.4;
	const sheet sheets[] = {
		{B_PRINT_PORTRAIT, 633, 879, (633 - a4Width) / 2, (879 - a4Height) / 2, a4Width, a4Height},
		{B_PRINT_LANDSCAPE, 879, 633, (879 - a4Height) / 2, (633 - a4Width) / 2, a4Height, a4Width},
	};
	const double bleed = 3 * 72 / 25.4;
	for (const sheet& expected : sheets) {
		SCOPED_TRACE(expected.orientation);
		std::string pdf = fFolder.Child("sheet.pdf");
		BPrintJob job("calendar");
		ASSERT_EQ(
			job.SetSettings(pdf_settings(pdf, expected.orientation, 3 * kMillimetre, 10)), B_OK);
		// The page's own coordinates, y down; right and bottom inclusive.
		expect_rect(job.PaperRect(), 0, 0, expected.width - 1, expected.height - 1);
		expect_rect(job.PrintableRect(), 0, 0, expected.width - 1, expected.height - 1);
		const double left = expected.trimLeft, top = expected.trimTop;
		const double right = left + expected.trimWidth, bottom = top + expected.trimHeight;
		expect_rect(job.TrimRect(), left, top, right - 1, bottom - 1);
		expect_rect(
			job.BleedRect(), left - bleed, top - bleed, right + bleed - 1, bottom + bleed - 1);
		ASSERT_EQ(print_pages(&job, 3), B_OK);

		std::string info = output_of("pdfinfo -box -f 1 -l 3 '" + pdf + "'");
		EXPECT_EQ(page_count(info), 3) << info;
		// PDF counts from the page's bottom, y up.
		const double h = expected.height;
		for (int page = 1; page <= 3; page++) {
			SCOPED_TRACE(page);
			expect_box(box_of(info, page, "MediaBox"), {0, 0, expected.width, h});
			expect_box(box_of(info, page, "TrimBox"), {left, h - bottom, right, h - top});
			expect_box(box_of(info, page, "BleedBox"),
				{left - bleed, h - bottom - bleed, right + bleed, h - top + bleed});
			// Each page is its own view's, in order, its text still text.
			EXPECT_EQ(text_of(pdf, page), "Page " + std::to_string(page));
		}
		// The view drawn at the bleed's corner fills the bleed area and no more.
		rendered_page page = render(fFolder, pdf, 2);
		ASSERT_EQ(page.width, int(expected.width));
		const int bleedLeft = int(std::ceil(left - bleed)), bleedTop = int(std::ceil(top - bleed));
		const int bleedRight = int(right + bleed), bleedBottom = int(bottom + bleed);
		EXPECT_TRUE(is_red(page.At(bleedLeft, bleedTop + 100)));
		EXPECT_TRUE(is_red(page.At(bleedRight - 1, bleedBottom - 1)));
		EXPECT_TRUE(is_white(page.At(bleedLeft - 2, bleedTop + 100)));
		EXPECT_TRUE(is_white(page.At(bleedRight + 1, bleedBottom - 1)));
		EXPECT_TRUE(is_white(page.At(bleedRight - 1, bleedBottom + 1)));
	}
}

// Without bleed or slug the job is what it always was: the paper with its margins, no page
// boxes; a page spooled twice is one page, and nothing drawn is no page.
TEST_F(PrintJobFile, PagesWithoutBleedOrSlugHaveNoPageBoxes)
{
	if (!HavePoppler())
		GTEST_SKIP() << "poppler's tools are not installed";
	std::string pdf = fFolder.Child("plain.pdf");
	BPrintJob job("plain");
	ASSERT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_PORTRAIT, {}, {})), B_OK);
	expect_rect(job.PaperRect(), 0, 0, 594, 841);
	EXPECT_EQ(job.TrimRect(), job.PaperRect());
	EXPECT_EQ(job.BleedRect(), job.PaperRect());
	EXPECT_LT(job.PrintableRect().Width(), job.PaperRect().Width());
	job.BeginJob();
	// Spooling a page with nothing on it adds no page.
	job.SpoolPage();
	for (int page = 1; page <= 2; page++) {
		PageView view(BRect(0, 0, 99, 99), make_color(255, 0, 0), "Page " + std::to_string(page));
		job.DrawView(&view, view.Bounds(), BPoint(0, 0));
		job.SpoolPage();
		job.SpoolPage();
	}
	job.CommitJob();
	ASSERT_EQ(job.Status(), B_OK);
	std::string info = output_of("pdfinfo -box -f 1 -l 2 '" + pdf + "'");
	EXPECT_EQ(page_count(info), 2) << info;
	expect_box(box_of(info, 2, "MediaBox"), {0, 0, 595, 842});
	EXPECT_EQ(text_of(pdf, 1), "Page 1");
	EXPECT_EQ(text_of(pdf, 2), "Page 2");
	std::string bytes = ReadWholeFile(pdf);
	EXPECT_EQ(bytes.find("/TrimBox"), std::string::npos);
	EXPECT_EQ(bytes.find("/BleedBox"), std::string::npos);
}

// A part of a photo, drawn four times smaller on paper, goes into the file with the part's
// own pixels, JPEG-compressed; text goes in as text in an embedded font.
TEST_F(PrintJobFile, PhotosKeepTheirPixelsAsJpegAndTextStaysText)
{
	if (!HavePoppler())
		GTEST_SKIP() << "poppler's tools are not installed";
	auto photo = MakeSmoothBitmap(640, 480);
	std::string pdf = fFolder.Child("photo.pdf");
	BPrintJob job("photo");
	ASSERT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_PORTRAIT, 3 * kMillimetre, 0)), B_OK);
	ASSERT_EQ(print_pages(&job, 1,
				  [&](PageView* view) {
					  view->ShowBitmap(
						  photo.get(), BRect(100, 50, 499, 349), BRect(40, 100, 139, 174));
				  }),
		B_OK);

	std::string images = output_of("pdfimages -list '" + pdf + "'");
	std::istringstream lines(images);
	std::string line;
	std::vector<std::string> rows;
	while (std::getline(lines, line)) {
		if (line.find(" image ") != std::string::npos)
			rows.push_back(line);
	}
	ASSERT_EQ(rows.size(), 1u) << images;
	std::istringstream row(rows[0]);
	std::string page, number, type, width, height, color, components, bits, encoding;
	row >> page >> number >> type >> width >> height >> color >> components >> bits >> encoding;
	EXPECT_EQ(width + "x" + height, "400x300");
	EXPECT_EQ(color, "rgb");
	EXPECT_EQ(encoding, "jpeg");

	// Every font is embedded: pdffonts's "emb" column says yes on each font's row.
	std::istringstream fonts(output_of("pdffonts '" + pdf + "'"));
	std::string header, rule;
	std::getline(fonts, header);
	std::getline(fonts, rule);
	const size_t emb = header.find("emb");
	ASSERT_NE(emb, std::string::npos) << header;
	int embedded = 0;
	while (std::getline(fonts, line)) {
		EXPECT_EQ(line.substr(emb, 3), "yes") << line;
		embedded++;
	}
	EXPECT_EQ(embedded, 1);
	EXPECT_EQ(text_of(pdf, 1), "Page 1");
}

// A disk with room for the document once but not twice: Qt's document fits beside the file,
// its copy with the page boxes does not. The old file stays, and nothing else is left.
TEST_F(PrintJobFile, AFullDiskWhileTheBoxesAreWrittenLeavesTheOldFile)
{
	const std::string old = "the old calendar";
	auto photo = MakePatternBitmap(400, 400);
	auto print = [&](const std::string& file, std::optional<float> bleed) {
		BPrintJob job("full");
		EXPECT_EQ(job.SetSettings(pdf_settings(file, B_PRINT_PORTRAIT, bleed, {})), B_OK);
		return print_pages(&job, 1, [&](PageView* view) {
			view->ShowBitmap(photo.get(), photo->Bounds(), BRect(0, 0, 399, 399));
		});
	};
	ASSERT_EQ(print(fFolder.Child("sized.pdf"), 3 * kMillimetre), B_OK);
	const size_t size = ReadWholeFile(fFolder.Child("sized.pdf")).size();
	ASSERT_GT(size, 100 * 1024u);

	// Room for the old file and one and a half documents.
	SmallDisk disk(size * 3 / 2 + 16 * 1024);
	if (!disk.Mounted())
		GTEST_SKIP() << disk.Why();
	const std::string target = disk.Child("out.pdf");
	// Without page boxes the document is written once, and fits.
	std::ofstream(target) << old;
	ASSERT_EQ(print(target, {}), B_OK);
	ASSERT_GT(ReadWholeFile(target).size(), 100 * 1024u);
	std::ofstream(target) << old;
	status_t status = print(target, 3 * kMillimetre);
	EXPECT_EQ(status, B_DEVICE_FULL);
	EXPECT_STREQ(status_text(status), "No space left on device");
	EXPECT_EQ(ReadWholeFile(target), old);
	std::vector<std::string> names;
	for (const auto& entry : std::filesystem::directory_iterator(disk.Child("")))
		names.push_back(entry.path().filename().string());
	EXPECT_EQ(names, std::vector<std::string>{"out.pdf"});
}

// Bleed and slug from nothing to 100 mm, of a job with a file; anything else sets nothing.
// Tabloid paper is 11 x 17 inches.
TEST_F(PrintJobFile, SettingsTakeBleedAndSlugUpTo100MillimetresAndTabloidPaper)
{
	std::string pdf = fFolder.Child("limits.pdf");
	const float most = 100 * kMillimetre;
	BPrintJob job("limits");
	ASSERT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_PORTRAIT, most, 0)), B_OK);
	ASSERT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_PORTRAIT, 0, most)), B_OK);
	const BRect trim = job.TrimRect();
	const BRect bleed = job.BleedRect();
	EXPECT_EQ(bleed, trim);
	EXPECT_NEAR(trim.left, most, 0.5);
	const float refused[] = {std::nextafter(most, 1000.0f), -0.01f,
		std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
	for (float value : refused) {
		SCOPED_TRACE(value);
		EXPECT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_LANDSCAPE, value, {})), B_BAD_VALUE);
		EXPECT_EQ(job.SetSettings(pdf_settings(pdf, B_PRINT_LANDSCAPE, {}, value)), B_BAD_VALUE);
	}
	auto* asInteger = pdf_settings(pdf, B_PRINT_LANDSCAPE, {}, {});
	asInteger->AddInt32("bleed", 9);
	EXPECT_EQ(job.SetSettings(asInteger), B_BAD_VALUE);
	// Nothing of a refused message was taken, its landscape paper included.
	EXPECT_EQ(job.TrimRect(), trim);
	EXPECT_EQ(job.BleedRect(), bleed);

	// Tabloid, 11 x 17 inches, is whole points: with no bleed and no slug, the page is the
	// trim, not a point more.
	auto* tabloid = pdf_settings(pdf, B_PRINT_PORTRAIT, 0, 0);
	tabloid->RemoveName("paper");
	tabloid->AddString("paper", "tabloid");
	ASSERT_EQ(job.SetSettings(tabloid), B_OK);
	expect_rect(job.PaperRect(), 0, 0, 791, 1223);
	EXPECT_EQ(job.TrimRect(), job.PaperRect());
	EXPECT_EQ(job.BleedRect(), job.PaperRect());

	// A bleed is for a PDF file: a job that prints to a printer has none.
	BPrintJob printer("printer");
	auto* noFile = new BMessage;
	noFile->AddFloat("bleed", 1);
	EXPECT_EQ(printer.SetSettings(noFile), B_BAD_VALUE);
	EXPECT_EQ(printer.TrimRect(), printer.PaperRect());
}

} // namespace
