#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "CanvasProbe.h"
#include "File.h"
#include "ImageFixtures.h"
#include "PrintTesting.h"
#include "ProgramHarness.h"
#include "TempDirectory.h"
#include "canvas_codes.h"
#include "dorvaview.h"
#include "tr.h"

namespace {

bool have_pdftoppm()
{
	return std::system("command -v pdftoppm >/dev/null 2>&1") == 0;
}

// Renders the first page of a PDF at 72 dots per inch, one pixel per point.
std::unique_ptr<BBitmap> render_page(const TempDirectory& folder, const std::string& pdf)
{
	std::string prefix = folder.Child("page");
	std::string command = "pdftoppm -png -r 72 -singlefile '" + pdf + "' '" + prefix + "'";
	if (std::system(command.c_str()) != 0)
		return nullptr;
	std::string png = ReadWholeFile(prefix + ".png");
	status_t status;
	return DecodeBytes(tr, png.data(), png.size(), &status);
}

class Printing : public ::testing::Test {
protected:
	void TearDown() override { kit::testing::ClearPrintAnswers(); }

	void Print(const kit::testing::PrintAnswers& answers)
	{
		kit::testing::SetPrintAnswers(answers);
		BMessenger(program.Canvas()).SendMessage(CMD_FILE_PRINT);
		program.Idle();
	}

	ProgramHarness program;
	TempDirectory folder;
};

TEST_F(Printing, PrintsThePictureAndItsBandOnOnePage)
{
	if (!have_pdftoppm())
		GTEST_SKIP() << "pdftoppm is not installed";
	// A bright red picture: on paper its top stays red, the band darkens its lower part.
	show_picture(program.Canvas(), make_picture(300, 240, 255, 0, 0));
	std::string pdf = folder.Child("out.pdf");
	Print({true, true, pdf, std::nullopt});
	ASSERT_TRUE(std::filesystem::exists(pdf));

	auto page = render_page(folder, pdf);
	ASSERT_NE(page, nullptr);
	// The canvas's own size lays out the band when printing: here the window's canvas is
	// the picture's size, so the band covers the lower 2 * 300 / 6 = 100 points.
	auto at = [&](int x, int y) {
		const uint8* p = PixelAt(*page, x, y);
		return make_color(p[2], p[1], p[0]);
	};
	auto red = [](rgb_color c) { return c.red > 200 && c.green < 60 && c.blue < 60; };
	// The picture starts at the printable area's corner, inside the page's margins.
	int left = 0, top = 0;
	while (left < 200 && !red(at(left, 60)))
		left++;
	while (top < 200 && !red(at(150, top)))
		top++;
	ASSERT_LT(left, 100);
	ASSERT_LT(top, 100);
	EXPECT_TRUE(red(at(left + 150, top + 20)));
	EXPECT_TRUE(red(at(left + 299, top + 130)));
	rgb_color band = at(left + 3, top + 235);
	EXPECT_NEAR(band.red, 127, 20);
	EXPECT_LT(band.green, 40);
	// Beyond the picture the page stays white.
	rgb_color beyond = at(left + 320, top + 20);
	EXPECT_GT(beyond.green, 240);
}

// The 1500 x 1000 red picture of the tests below, fitted to the page: red from one margin
// to the other, centred, two thirds as high as wide, the band darkening its lower half.
static void expect_whole_red_picture_fitted(const BBitmap& page, const std::string& what)
{
	SCOPED_TRACE(what);
	auto red = [](rgb_color c) { return c.red > 200 && c.green < 60 && c.blue < 60; };
	auto darkRed = [](rgb_color c) { return c.red > 90 && c.red < 160 && c.green < 40; };
	auto at = [&](int x, int y) {
		const uint8* p = PixelAt(page, x, y);
		return make_color(p[2], p[1], p[0]);
	};
	const int width = page.PixelWidth();
	// Across the picture's upper half: red from one margin to the other, centred.
	int top = 0;
	while (top < page.PixelHeight() / 2 && !red(at(width / 2, top)))
		top++;
	const int y = top + 20;
	int left = 0, right = width - 1;
	while (left < width / 2 && !red(at(left, y)))
		left++;
	while (right > width / 2 && !red(at(right, y)))
		right--;
	const int shown = right - left + 1;
	EXPECT_GT(shown, width * 8 / 10);
	EXPECT_LT(shown, width);
	EXPECT_NEAR(left, width - 1 - right, 2);
	// Two thirds as high as wide; the band darkens its lower half, to the picture's edges.
	const int height = shown * 2 / 3;
	EXPECT_TRUE(red(at(width / 2, top + height / 4)));
	EXPECT_TRUE(red(at(width / 2, top + height / 2 - 3)));
	EXPECT_TRUE(darkRed(at(left + 3, top + height * 3 / 4)));
	EXPECT_TRUE(darkRed(at(width / 2, top + height / 2 + 3)));
	EXPECT_TRUE(darkRed(at(right - 3, top + height - 3)));
	EXPECT_FALSE(red(at(width / 2, top + height + 3)));
	EXPECT_FALSE(darkRed(at(width / 2, top + height + 3)));
}

TEST_F(Printing, FitToPageScalesTheWholeCanvasOntoThePageForTheRestOfTheRun)
{
	if (!have_pdftoppm())
		GTEST_SKIP() << "pdftoppm is not installed";
	// A picture wider than any page, in points: at 100% it would be cut at the page's edge.
	show_picture(program.Canvas(), make_picture(1500, 1000, 255, 0, 0));
	for (bool chosenNow : {true, false}) {
		std::string pdf = folder.Child(chosenNow ? "fit.pdf" : "again.pdf");
		// The second job is not asked for a scale: the first one's choice holds.
		kit::testing::PrintAnswers answers{true, true, pdf, std::nullopt};
		if (chosenNow)
			answers.scale = B_PRINT_SCALE_FIT_TO_PAGE;
		Print(answers);
		auto page = render_page(folder, pdf);
		ASSERT_NE(page, nullptr);
		expect_whole_red_picture_fitted(*page, chosenNow ? "chosen now" : "chosen before");
	}
}

// The window made smaller than the picture and scrolled: fitted to the page, the page still
// holds the whole picture with its band over it, not the part the window shows.
TEST_F(Printing, FitToPagePrintsTheWholePictureWhateverTheWindowShows)
{
	if (!have_pdftoppm())
		GTEST_SKIP() << "pdftoppm is not installed";
	show_picture(program.Canvas(), make_picture(1500, 1000, 255, 0, 0));
	program.Window()->ResizeTo(400, 300);
	program.Idle();
	program.Canvas()->ScrollTo(BPoint(200, 300));
	program.Idle();
	// The canvas shows a part of the picture only, of another shape than the picture.
	ASSERT_LT(program.Canvas()->Bounds().Width(), 1499);
	ASSERT_EQ(program.Canvas()->Bounds().LeftTop(), BPoint(200, 300));
	std::string pdf = folder.Child("scrolled.pdf");
	Print({true, true, pdf, B_PRINT_SCALE_FIT_TO_PAGE});
	auto page = render_page(folder, pdf);
	ASSERT_NE(page, nullptr);
	expect_whole_red_picture_fitted(*page, "small window, scrolled");
}

TEST_F(Printing, CancelledJobSetupPrintsNothingAndPageSetupDoesNotStopIt)
{
	show_picture(program.Canvas(), make_picture(100, 80, 0, 0, 255));
	std::string cancelled = folder.Child("cancelled.pdf");
	Print({true, false, cancelled, std::nullopt});
	EXPECT_FALSE(std::filesystem::exists(cancelled));

	std::string printed = folder.Child("printed.pdf");
	Print({false, true, printed, std::nullopt});
	EXPECT_TRUE(std::filesystem::exists(printed));
	EXPECT_GT(std::filesystem::file_size(printed), 0u);
}

TEST_F(Printing, AnEmptyCanvasIsNotPrinted)
{
	std::string pdf = folder.Child("empty.pdf");
	Print({true, true, pdf, std::nullopt});
	EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
