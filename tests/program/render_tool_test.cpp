// dorva-render run as a user runs it: its picture is the window's canvas, pixel for pixel,
// for the same picture and options; its PDF pages hold the picture fitted to the paper.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "CanvasProbe.h"
#include "ImageFixtures.h"
#include "ProgramHarness.h"
#include "ShellCommands.h"
#include "TempDirectory.h"
#include "calendar_attributes.h"
#include "color_scan.h"
#include "command_line.h"
#include "font_label.h"
#include "tr.h"

namespace {

// Runs dorva-render with the arguments; its exit status.
int render(const std::vector<std::string>& arguments)
{
	std::string command = ShellQuoted(DORVA_RENDER);
	for (const std::string& argument : arguments)
		command += " " + ShellQuoted(argument);
	command += " 2>/dev/null";
	int status = std::system(command.c_str());
	return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::unique_ptr<BBitmap> decode_file(const std::string& path)
{
	std::string bytes = ReadWholeFile(path);
	status_t status;
	return DecodeBytes(tr, bytes.data(), bytes.size(), &status);
}

std::string write_png(const TempDirectory& folder, const std::string& name, const BBitmap& picture)
{
	BMallocIO png;
	if (EncodeBitmap(tr, picture, kit_code("PNG "), &png) != B_OK)
		return "";
	return folder.WriteFile(
		name, std::string(static_cast<const char*>(png.Buffer()), png.BufferLength()));
}

// A font label as the configuration window's menus show one: the first installed family
// that has more than one style, with its last style.
std::string some_font_label()
{
	for (int32 i = 0; i < count_font_families(); i++) {
		font_family family;
		get_font_family(i, &family);
		int32 styles = count_font_styles(family);
		if (styles < 2)
			continue;
		font_style style;
		get_font_style(family, styles - 1, &style);
		return std::string(family) + "(" + style + ")";
	}
	return "";
}

class RenderTool : public ::testing::Test {
protected:
	void SetUp() override
	{
		if (tr == nullptr)
			tr = BTranslatorRoster::Default();
	}
	TempDirectory folder;
};

TEST_F(RenderTool, ItsPictureIsTheWindowsCanvasPixelForPixel)
{
	std::string picture = write_png(folder, "photo.png", *MakeSmoothBitmap(640, 360));
	ASSERT_FALSE(picture.empty());
	std::string holidays = folder.WriteFile("family.ics",
		"BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270614\r\n"
		"SUMMARY:Birthday\r\nRRULE:FREQ=YEARLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
	const std::string font = some_font_label();
	ASSERT_FALSE(font.empty());
	const std::vector<std::string> calendar = {"--year", "2027", "--week-start", "monday",
		"--holidays", "jp", "--holidays", holidays, "--band", "top"};
	const std::vector<std::pair<std::string, uint32 calendar_attributes::*>> colours = {
		{"--bg-color=c0203040", &calendar_attributes::bg_col},
		{"--holiday-color=ff00ff", &calendar_attributes::holy_col},
		{"--sunday-color=00ffff", &calendar_attributes::sun_col},
		{"--weekday-color=ffffff", &calendar_attributes::week_col},
	};

	// The window: dorva started with the same calendar options, the colours typed into the
	// configuration window, the month font chosen from its menu.
	std::vector<std::string> arguments = calendar;
	arguments.insert(arguments.begin(), "dorva");
	arguments.push_back(picture);
	std::vector<char*> argv;
	for (std::string& argument : arguments)
		argv.push_back(argument.data());
	command_line line = read_command_line(int(argv.size()), argv.data());
	ASSERT_EQ(line.action, command_line::RUN);
	ProgramHarness program(line.files);
	std::vector<std::string> errors;
	ASSERT_TRUE(apply_calendar_options(line.calendar, &cal, &errors));
	apply_band_option(line.calendar, &atr);
	for (const auto& [option, field] : colours)
		ASSERT_TRUE(scan_color(option.substr(option.find('=') + 1).c_str(), &(atr.*field)));
	split_font_label(font.c_str(), &atr.month_family, &atr.month_style);
	dorvaview* canvas = program.Canvas();
	ASSERT_NE(canvas->image, nullptr);
	canvas->Draw(canvas->Bounds());
	std::unique_ptr<BBitmap> window(kit::testing::SnapshotView(canvas));
	ASSERT_NE(window, nullptr);
	ASSERT_EQ(window->Bounds(), BRect(0, 0, 639, 359));

	// dorva-render with the same options.
	std::vector<std::string> command = calendar;
	for (const auto& colour : colours)
		command.push_back(colour.first);
	command.insert(command.end(), {"--month-font", font, picture, "-o", folder.Child("out.png")});
	ASSERT_EQ(render(command), 0);
	std::unique_ptr<BBitmap> rendered = decode_file(folder.Child("out.png"));
	ASSERT_NE(rendered, nullptr);
	ASSERT_EQ(rendered->Bounds(), window->Bounds());

	int differing = 0;
	for (int y = 0; y < 360; y++) {
		for (int x = 0; x < 640; x++) {
			const uint8* a = PixelAt(*window, x, y);
			const uint8* b = PixelAt(*rendered, x, y);
			differing += a[0] != b[0] || a[1] != b[1] || a[2] != b[2];
		}
	}
	EXPECT_EQ(differing, 0);
	// And the calendar is there: the band darkens the top, not the bottom.
	EXPECT_LT(PixelAt(*rendered, 2, 5)[1], PixelAt(*window, 2, 355)[1] - 40);
}

bool have_pdftoppm()
{
	return std::system("command -v pdftoppm >/dev/null 2>&1") == 0;
}

// The page at 72 dots per inch: one pixel per point.
std::unique_ptr<BBitmap> render_page(const TempDirectory& folder, const std::string& pdf)
{
	std::string prefix = folder.Child("page");
	std::string command =
		"pdftoppm -png -r 72 -singlefile " + ShellQuoted(pdf) + " " + ShellQuoted(prefix);
	if (std::system(command.c_str()) != 0)
		return nullptr;
	return decode_file(prefix + ".png");
}

// The box of the page's pixels that are not white paper.
BRect ink_box(const BBitmap& page)
{
	BRect box(1e6, 1e6, -1, -1);
	for (int y = 0; y < page.PixelHeight(); y++) {
		for (int x = 0; x < page.PixelWidth(); x++) {
			const uint8* p = PixelAt(page, x, y);
			if (p[0] > 245 && p[1] > 245 && p[2] > 245)
				continue;
			box.left = std::min(box.left, float(x));
			box.top = std::min(box.top, float(y));
			box.right = std::max(box.right, float(x));
			box.bottom = std::max(box.bottom, float(y));
		}
	}
	return box;
}

TEST_F(RenderTool, APdfPageHoldsThePictureFittedAndCentredOnThePaper)
{
	if (!have_pdftoppm())
		GTEST_SKIP() << "pdftoppm is not installed";
	// A bright picture: the paper's white is never mistaken for it.
	BBitmap wide(BRect(0, 0, 1199, 599), B_RGB32);
	std::memset(wide.Bits(), 0, size_t(wide.BitsLength()));
	for (int y = 0; y < 600; y++) {
		for (int x = 0; x < 1200; x++)
			static_cast<uint8*>(wide.Bits())[y * wide.BytesPerRow() + x * 4 + 1] = 220;
	}
	std::string picture = write_png(folder, "wide.png", wide);
	BBitmap tall(BRect(0, 0, 299, 899), B_RGB32);
	std::memset(tall.Bits(), 180, size_t(tall.BitsLength()));
	std::string tallPicture = write_png(folder, "tall.png", tall);

	struct page_case {
		std::string picture;
		std::vector<std::string> options;
		int width, height; // the paper in points, as it lies
	};
	const std::vector<page_case> cases = {
		{picture, {"--page", "a4"}, 842, 595}, // a wide picture turns the page
		{picture, {"--page=letter"}, 792, 612},
		{tallPicture, {"--page", "a3"}, 842, 1191}, // a tall one keeps it upright
		{tallPicture, {}, 595, 842},                // the C locale's paper is A4
	};
	for (const page_case& test : cases) {
		std::string pdf = folder.Child("page.pdf");
		std::vector<std::string> command = test.options;
		command.insert(command.end(), {test.picture, "-o", pdf});
		setenv("LC_ALL", "C", 1);
		ASSERT_EQ(render(command), 0);
		unsetenv("LC_ALL");
		auto page = render_page(folder, pdf);
		ASSERT_NE(page, nullptr);
		EXPECT_NEAR(page->PixelWidth(), test.width, 1) << test.picture;
		EXPECT_NEAR(page->PixelHeight(), test.height, 1) << test.picture;

		// The picture (with its band) fills the printable area one way, keeps its shape,
		// and stands in the middle of the page.
		BRect box = ink_box(*page);
		const BBitmap& source = test.picture == picture ? wide : tall;
		const double aspect = double(source.PixelWidth()) / source.PixelHeight();
		EXPECT_NEAR((box.Width() + 1) / (box.Height() + 1), aspect, 0.02) << test.picture;
		EXPECT_TRUE(box.Width() + 1 > 0.85 * test.width || box.Height() + 1 > 0.85 * test.height);
		EXPECT_NEAR(box.left, test.width - 1 - box.right, 2) << test.picture;
		EXPECT_NEAR(box.top, test.height - 1 - box.bottom, 2) << test.picture;
	}
}

} // namespace
