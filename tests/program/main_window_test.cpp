#include <gtest/gtest.h>

#include <cmath>

#include "AppDefs.h"
#include "CanvasProbe.h"
#include "ImageFixtures.h"
#include "Menu.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "Messenger.h"
#include "ProgramHarness.h"
#include "ScrollBar.h"
#include "canvas_codes.h"
#include "configview.h"
#include "configwindow.h"
#include "dorvaview.h"
#include "pic.h"

namespace {

void expect_rect(BRect actual, BRect expected)
{
	EXPECT_EQ(actual, expected) << "got (" << actual.left << ", " << actual.top << ", "
								<< actual.right << ", " << actual.bottom << ")";
}

void expect_limits(
	BWindow* window, float minW, float maxW, float minH, float maxH, float zoomW, float zoomH)
{
	float limits[4];
	window->GetSizeLimits(&limits[0], &limits[1], &limits[2], &limits[3]);
	EXPECT_EQ(limits[0], minW);
	EXPECT_EQ(limits[1], maxW);
	EXPECT_EQ(limits[2], minH);
	EXPECT_EQ(limits[3], maxH);
	float zoom[2];
	window->GetZoomLimits(&zoom[0], &zoom[1]);
	EXPECT_EQ(zoom[0], zoomW);
	EXPECT_EQ(zoom[1], zoomH);
}

TEST(MainWindow, StartsAtTheEmptyCanvasSizeWithItsChildrenInPlace)
{
	ProgramHarness program;
	dorvawindow* window = program.Window();
	EXPECT_STREQ(window->Title(), "dorva ver.0.00");
	expect_rect(window->Frame(), BRect(100, 100, 300, 250));
	expect_limits(window, 35, 200, 35, 150, 200, 150);

	int32 width, height;
	kit::testing::PlatformWindowSize(window, &width, &height);
	EXPECT_EQ(width, 201);
	EXPECT_EQ(height, 151);

	expect_rect(program.Canvas()->Frame(), BRect(0, 20, 186, 136));
	expect_rect(window->FindView("scrollv")->Frame(), BRect(187, 19, 201, 137));
	expect_rect(window->FindView("scrollh")->Frame(), BRect(-1, 137, 187, 151));
	BView* menuBar = window->FindView("menubar");
	ASSERT_NE(menuBar, nullptr);
	EXPECT_LT(menuBar->Frame().bottom, 20);
	EXPECT_EQ(menuBar->Frame().Width(), window->Bounds().Width());
}

TEST(MainWindow, ResizeviewFitsWindowAndCanvasToThePicture)
{
	ProgramHarness program;
	dorvawindow* window = program.Window();

	window->resizeview(639, 479);
	EXPECT_EQ(window->Frame().Width(), 653);
	EXPECT_EQ(window->Frame().Height(), 513);
	expect_limits(window, 35, 653, 35, 513, 653, 513);
	EXPECT_EQ(program.Canvas()->Frame().Width(), 639);
	EXPECT_EQ(program.Canvas()->Frame().Height(), 479);
	// The scroll bars follow the window's right and bottom edges.
	expect_rect(window->FindView("scrollv")->Frame(), BRect(640, 19, 654, 500));
	expect_rect(window->FindView("scrollh")->Frame(), BRect(-1, 500, 640, 514));

	// A one-pixel side counts as the empty canvas's size in that direction.
	window->resizeview(0, 49);
	EXPECT_EQ(program.Canvas()->Frame().Width(), 186);
	EXPECT_EQ(program.Canvas()->Frame().Height(), 49);
	window->resizeview(0, 0);
	expect_limits(window, 35, 200, 35, 150, 200, 150);
	EXPECT_EQ(window->Frame().Width(), 200);
	EXPECT_EQ(program.Canvas()->Frame().Height(), 116);

	// Limits below the minimum are kept as computed; the window cannot go below 35.
	window->resizeview(10, 100);
	expect_limits(window, 35, 24, 35, 134, 24, 134);
	EXPECT_EQ(window->Frame().Width(), 35);
	EXPECT_EQ(program.Canvas()->Frame().Width(), 10);
	EXPECT_EQ(program.Canvas()->Frame().Height(), 100);
}

TEST(MainWindow, FrameResizedSetsScrollRangesProportionsAndSteps)
{
	ProgramHarness program;
	dorvawindow* window = program.Window();
	auto* vbar = static_cast<BScrollBar*>(window->FindView("scrollv"));
	auto* hbar = static_cast<BScrollBar*>(window->FindView("scrollh"));
	ASSERT_EQ(vbar->Bounds().Height(), 118);
	ASSERT_EQ(hbar->Bounds().Width(), 188);

	pic = BRect(0, 0, 639, 479);
	window->FrameResized(0, 0);
	float min, max, small, large;
	vbar->GetRange(&min, &max);
	EXPECT_EQ(min, 0);
	EXPECT_EQ(max, 363);
	hbar->GetRange(&min, &max);
	EXPECT_EQ(max, 453);
	EXPECT_FLOAT_EQ(vbar->Proportion(), 118.0f / 479.0f);
	EXPECT_FLOAT_EQ(hbar->Proportion(), 188.0f / 639.0f);
	vbar->GetSteps(&small, &large);
	EXPECT_EQ(small, 10);
	EXPECT_EQ(large, 118);
	hbar->GetSteps(&small, &large);
	EXPECT_EQ(large, 188);

	// A picture that fits gives empty ranges.
	pic = BRect(0, 0, 99, 99);
	window->FrameResized(0, 0);
	vbar->GetRange(&min, &max);
	EXPECT_EQ(max, 0);
	hbar->GetRange(&min, &max);
	EXPECT_EQ(max, 0);

	// An empty canvas gives negative or infinite proportions; the bars take them.
	pic = BRect(-1, -1, -1, -1);
	window->FrameResized(0, 0);
	EXPECT_TRUE(std::isinf(vbar->Proportion()));
	pic = BRect(0, 0, -1, -1);
	window->FrameResized(0, 0);
	EXPECT_LT(hbar->Proportion(), 0);
	program.Idle();
}

TEST(MainWindow, EmptyCanvasShowsNameAndVersionInWhiteOnBlack)
{
	ProgramHarness program;
	dorvaview* canvas = program.Canvas();
	kit::testing::UpdateView(canvas);

	auto is_white = [](rgb_color c) { return c.red > 200 && c.green > 200 && c.blue > 200; };
	auto is_black = [](rgb_color c) { return c.red == 0 && c.green == 0 && c.blue == 0; };
	auto ink_in = [&](int x0, int y0, int x1, int y1) {
		int count = 0;
		for (int y = y0; y <= y1; y++)
			for (int x = x0; x <= x1; x++)
				count += is_white(kit::testing::ViewPixel(canvas, x, y));
		return count;
	};
	// "dorva" at size 30 stands on the baseline y = 50 from x = 45; "ver.0.00" at size 20
	// on y = 80 from x = 75. Above and left of them the canvas is black.
	EXPECT_GT(ink_in(45, 28, 130, 50), 100);
	EXPECT_GT(ink_in(75, 66, 160, 80), 50);
	EXPECT_EQ(ink_in(0, 0, 44, 116), 0);
	EXPECT_EQ(ink_in(0, 0, 186, 24), 0);
	EXPECT_TRUE(is_black(kit::testing::ViewPixel(canvas, 180, 110)));
	// Nothing of "dorva" hangs much below its baseline: it has no descenders.
	EXPECT_EQ(ink_in(45, 53, 70, 60), 0);
}

TEST(MainWindow, MenusSendTheirCommandsToTheirTargets)
{
	ProgramHarness program;
	BMenuBar* bar = program.Window()->KeyMenuBar();
	ASSERT_NE(bar, nullptr);
	ASSERT_EQ(bar->CountItems(), 2);
	BMenu* file = bar->SubmenuAt(0);
	BMenu* config = bar->SubmenuAt(1);
	EXPECT_STREQ(file->Name(), "File");
	EXPECT_STREQ(config->Name(), "Config");

	struct {
		const char* label;
		uint32 what;
		BHandler* target;
	} expected[] = {
		{"Open", CMD_FILE_OPEN, program.Canvas()},
		{"Print", CMD_FILE_PRINT, program.Canvas()},
		{"About", B_ABOUT_REQUESTED, program.App()},
		{"Quit", B_QUIT_REQUESTED, program.App()},
	};
	ASSERT_EQ(file->CountItems(), 4);
	for (int i = 0; i < 4; i++) {
		BMenuItem* item = file->ItemAt(i);
		EXPECT_STREQ(item->Label(), expected[i].label);
		EXPECT_EQ(item->Command(), expected[i].what);
		EXPECT_EQ(item->Target(), expected[i].target);
		EXPECT_TRUE(item->Message()->IsEmpty());
	}
	ASSERT_EQ(config->CountItems(), 1);
	BMenuItem* color = config->ItemAt(0);
	EXPECT_STREQ(color->Label(), "color");
	EXPECT_EQ(color->Command(), CMD_CONFIG);
	EXPECT_EQ(color->Target(), program.Canvas());
	int16 value = 0;
	EXPECT_EQ(color->Message()->FindInt16("config", &value), B_OK);
	EXPECT_EQ(value, 2);

	// Choosing "Open" delivers its command to the canvas.
	file->ItemAt(0)->Invoke();
	program.Idle();
	ASSERT_FALSE(program.CanvasMessages().empty());
	EXPECT_EQ(program.CanvasMessages().back().what, CMD_FILE_OPEN);
}

// Whether the canvas shows the picture seen from (dx, dy) in its upper part, above the band.
testing::AssertionResult shows_picture_from(BView* canvas, const BBitmap& picture, int dx, int dy)
{
	for (int y = 0; y < 100; y += 7) {
		for (int x = 0; x < 300; x += 11) {
			rgb_color shown = kit::testing::ViewPixel(canvas, x, y);
			const uint8* bgr = PixelAt(picture, x + dx, y + dy);
			if (shown.blue != bgr[0] || shown.green != bgr[1] || shown.red != bgr[2])
				return testing::AssertionFailure()
					<< "canvas (" << x << ", " << y << ") is not picture (" << x + dx << ", "
					<< y + dy << ")";
		}
	}
	return testing::AssertionSuccess();
}

TEST(MainWindow, TheWheelOverTheCanvasScrollsThePictureAndOverOtherViewsNothing)
{
	ProgramHarness program;
	dorvawindow* window = program.Window();
	dorvaview* canvas = program.Canvas();
	auto* vbar = static_cast<BScrollBar*>(window->FindView("scrollv"));
	auto* hbar = static_cast<BScrollBar*>(window->FindView("scrollh"));
	std::unique_ptr<BBitmap> picture = MakePatternBitmap(1801, 1201);
	show_picture(canvas, MakePatternBitmap(1801, 1201).release());
	window->ResizeTo(400, 300);
	program.Idle();
	ASSERT_TRUE(shows_picture_from(canvas, *picture, 0, 0));

	// Three notches down, as the window delivers a wheel turn: three small steps of 10.
	BMessage wheel(B_MOUSE_WHEEL_CHANGED);
	wheel.AddFloat("be:wheel_delta_x", 0);
	wheel.AddFloat("be:wheel_delta_y", 3);
	BMessenger(canvas).SendMessage(&wheel);
	program.Idle();
	EXPECT_EQ(vbar->Value(), 30);
	EXPECT_EQ(hbar->Value(), 0);
	EXPECT_EQ(canvas->Bounds().LeftTop(), BPoint(0, 30));
	EXPECT_TRUE(shows_picture_from(canvas, *picture, 0, 30));

	// The real wheel over the canvas's widget: two notches right, then one down with Shift,
	// which goes sideways too, then one back up.
	kit::testing::TurnWheel(canvas, 2, 0);
	kit::testing::TurnWheel(canvas, 0, 1, true);
	kit::testing::TurnWheel(canvas, 0, -1);
	program.Idle();
	EXPECT_EQ(hbar->Value(), 30);
	EXPECT_EQ(vbar->Value(), 20);
	EXPECT_TRUE(shows_picture_from(canvas, *picture, 30, 20));

	// The configuration view has no scroll bars: the wheel over it changes nothing, there or
	// in the canvas.
	BMessenger(canvas).SendMessage(CMD_CONFIG);
	program.Idle();
	configwindow* config = nullptr;
	for (int32 i = 0; i < be_app->CountWindows(); i++) {
		if (auto* found = dynamic_cast<configwindow*>(be_app->WindowAt(i)))
			config = found;
	}
	ASSERT_NE(config, nullptr);
	kit::testing::TurnWheel(config->view, 1, 4);
	BMessenger(config->view).SendMessage(&wheel);
	program.Idle();
	EXPECT_EQ(config->view->Bounds(), BRect(0, 0, 250, 250));
	EXPECT_EQ(hbar->Value(), 30);
	EXPECT_EQ(vbar->Value(), 20);
	EXPECT_TRUE(shows_picture_from(canvas, *picture, 30, 20));
}

} // namespace

TEST(MainWindow, APictureLargerThanTheScreenGetsTheWholeWindowItAsksFor)
{
	ProgramHarness program;
	dorvawindow* window = program.Window();
	// The off-screen platform's screen is 800 x 800; the window stands at (100, 100).
	show_picture(program.Canvas(), make_picture(1000, 900, 10, 20, 30));
	program.Idle();
	EXPECT_EQ(window->Frame().Width(), 999 + 14);
	EXPECT_EQ(window->Frame().Height(), 899 + 34);
	int32 width, height;
	kit::testing::PlatformWindowSize(window, &width, &height);
	EXPECT_EQ(width, 999 + 14 + 1);
	EXPECT_EQ(height, 899 + 34 + 1);
	EXPECT_EQ(program.Canvas()->Frame().Width(), 999);
	// All of the picture is in the window: nothing to scroll.
	float min, max;
	static_cast<BScrollBar*>(window->FindView("scrollh"))->GetRange(&min, &max);
	EXPECT_EQ(max, 0);
	static_cast<BScrollBar*>(window->FindView("scrollv"))->GetRange(&min, &max);
	EXPECT_EQ(max, 0);

	// Made smaller and zoomed, it is again the whole picture's size.
	window->ResizeTo(300, 200);
	program.Idle();
	window->Zoom();
	program.Idle();
	EXPECT_EQ(window->Frame().Width(), 999 + 14);
	EXPECT_EQ(window->Frame().Height(), 899 + 34);
}
