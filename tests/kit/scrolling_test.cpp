// Scroll bars and the views they scroll: a bar's value is the target's scroll offset, the
// target is drawn again at the new offset, and scrolling the view moves its bars.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "Application.h"
#include "KitTesting.h"
#include "ScrollBar.h"
#include "View.h"
#include "Window.h"

namespace {

// The colour of the pattern at (x, y) of a view's coordinates: each 10 x 10 block has a
// colour of its own, so a pixel tells where in the pattern it comes from.
rgb_color PatternAt(int x, int y)
{
	return rgb_color{uint8((x / 10) * 5 % 256), uint8((y / 10) * 5 % 256), 90, 255};
}

// Draws the pattern over what it is asked to update, and remembers what that was.
class PatternView : public BView {
public:
	explicit PatternView(BRect frame) : BView(frame, "pattern", B_FOLLOW_ALL_SIDES, B_WILL_DRAW) {}

	void Draw(BRect update) override
	{
		updates.push_back(update);
		const int left = int(std::floor(update.left / 10)) * 10;
		const int top = int(std::floor(update.top / 10)) * 10;
		for (int y = top; y <= update.bottom; y += 10) {
			for (int x = left; x <= update.right; x += 10) {
				SetHighColor(PatternAt(x, y));
				FillRect(BRect(x, y, x + 9, y + 9));
			}
		}
	}

	std::vector<BRect> updates;
};

bool SameColour(rgb_color a, rgb_color b)
{
	return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

class Scrolling : public testing::Test {
protected:
	void SetUp() override
	{
		fApp = std::make_unique<BApplication>("application/x-vnd.dorva-kit-test");
		// A document window with a view of 186 x 116 pixels (the frame is inclusive) and
		// its two bars along the right and the bottom, over a pattern of 600 x 400.
		fWindow = new BWindow(BRect(100, 100, 300, 250), "scrolling", B_DOCUMENT_WINDOW, 0, 0);
		fView = new PatternView(BRect(0, 20, 186, 136));
		fWindow->AddChild(fView);
		fVertical = new BScrollBar(BRect(187, 19, 201, 137), "v", fView, 0, 400 - 117, B_VERTICAL);
		fWindow->AddChild(fVertical);
		fHorizontal =
			new BScrollBar(BRect(-1, 137, 187, 151), "h", fView, 0, 600 - 187, B_HORIZONTAL);
		fWindow->AddChild(fHorizontal);
		fWindow->Show();
		kit::testing::RunUntilIdle();
		kit::testing::UpdateView(fView);
		fView->updates.clear();
	}

	void TearDown() override { fApp.reset(); }

	// Checks the view's visible pixels against the pattern seen from the given offset.
	void ExpectPatternFrom(int dx, int dy)
	{
		for (int y = 0; y < 117; y += 13) {
			for (int x = 0; x < 187; x += 17) {
				rgb_color pixel = kit::testing::ViewPixel(fView, x, y);
				rgb_color expected = PatternAt(x + dx, y + dy);
				ASSERT_TRUE(SameColour(pixel, expected))
					<< "at (" << x << ", " << y << ") seen from (" << dx << ", " << dy << "): got "
					<< int(pixel.red) << "," << int(pixel.green) << " expected "
					<< int(expected.red) << "," << int(expected.green);
			}
		}
	}

	std::unique_ptr<BApplication> fApp;
	BWindow* fWindow = nullptr;
	PatternView* fView = nullptr;
	BScrollBar* fVertical = nullptr;
	BScrollBar* fHorizontal = nullptr;
};

TEST_F(Scrolling, TheViewStartsAtItsOrigin)
{
	EXPECT_EQ(fView->Bounds(), BRect(0, 0, 186, 116));
	EXPECT_EQ(fVertical->Value(), 0);
	EXPECT_EQ(fHorizontal->Value(), 0);
	ExpectPatternFrom(0, 0);
}

TEST_F(Scrolling, TheVerticalBarMovesTheViewAndItIsDrawnAtTheNewOffset)
{
	fVertical->SetValue(130);
	EXPECT_EQ(fView->Bounds(), BRect(0, 130, 186, 246));
	EXPECT_EQ(fView->ScrollBar(B_VERTICAL), fVertical);

	kit::testing::UpdateView(fView);
	ASSERT_FALSE(fView->updates.empty());
	// The update is asked for in the view's coordinates, which now begin at y = 130.
	EXPECT_EQ(fView->updates.back().top, 130);
	EXPECT_EQ(fView->updates.back().bottom, 246);
	ExpectPatternFrom(0, 130);
}

TEST_F(Scrolling, TheHorizontalBarMovesTheViewAndItIsDrawnAtTheNewOffset)
{
	fVertical->SetValue(40);
	fHorizontal->SetValue(255);
	EXPECT_EQ(fView->Bounds(), BRect(255, 40, 441, 156));
	kit::testing::UpdateView(fView);
	EXPECT_EQ(fView->updates.back().left, 255);
	ExpectPatternFrom(255, 40);

	// And back.
	fHorizontal->SetValue(0);
	fVertical->SetValue(0);
	kit::testing::UpdateView(fView);
	ExpectPatternFrom(0, 0);
}

TEST_F(Scrolling, ScrollingTheViewMovesItsBars)
{
	fView->ScrollTo(BPoint(70, 90));
	EXPECT_EQ(fHorizontal->Value(), 70);
	EXPECT_EQ(fVertical->Value(), 90);
	kit::testing::UpdateView(fView);
	ExpectPatternFrom(70, 90);

	fView->ScrollBy(10, -20);
	EXPECT_EQ(fHorizontal->Value(), 80);
	EXPECT_EQ(fVertical->Value(), 70);
}

TEST_F(Scrolling, ValuesStayWithinTheRange)
{
	fVertical->SetValue(1000);
	EXPECT_EQ(fVertical->Value(), 283);
	EXPECT_EQ(fView->Bounds().top, 283);
	fVertical->SetValue(-5);
	EXPECT_EQ(fVertical->Value(), 0);
	EXPECT_EQ(fView->Bounds().top, 0);

	// A range that shrinks below the value brings the value, and the view, back into it.
	fHorizontal->SetValue(300);
	fHorizontal->SetRange(0, 100);
	EXPECT_EQ(fHorizontal->Value(), 100);
	EXPECT_EQ(fView->Bounds().left, 100);
}

TEST_F(Scrolling, StepsAreKept)
{
	fVertical->SetSteps(10, 116);
	float small = 0, large = 0;
	fVertical->GetSteps(&small, &large);
	EXPECT_EQ(small, 10);
	EXPECT_EQ(large, 116);
}

TEST_F(Scrolling, AnyProportionIsAccepted)
{
	// What an empty canvas hands over: a negative quotient, or a division by zero.
	fVertical->SetProportion(-118.0f);
	EXPECT_EQ(fVertical->Proportion(), -118.0f);
	fVertical->SetProportion(std::numeric_limits<float>::infinity());
	fHorizontal->SetProportion(std::numeric_limits<float>::quiet_NaN());
	fHorizontal->SetRange(0, 0);
	fHorizontal->SetValue(std::numeric_limits<float>::quiet_NaN());
	EXPECT_EQ(fHorizontal->Value(), 0);
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(fView);
	ExpectPatternFrom(0, 0);
}

TEST_F(Scrolling, BarsFollowTheWindowsRightAndBottomEdges)
{
	fWindow->ResizeTo(300, 250);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fView->Frame(), BRect(0, 20, 286, 236));
	EXPECT_EQ(fVertical->Frame(), BRect(287, 19, 301, 237));
	EXPECT_EQ(fHorizontal->Frame(), BRect(-1, 237, 287, 251));

	// The larger view is drawn in full at the offset it had.
	fVertical->SetValue(50);
	kit::testing::UpdateView(fView);
	rgb_color corner = kit::testing::ViewPixel(fView, 280, 110);
	EXPECT_TRUE(SameColour(corner, PatternAt(280, 160)));
}

// Fine turns (a touchpad's parts of a notch) add up to whole pixels and lose nothing;
// turning back moves at once; the range holds; a view without bars ignores the wheel.
TEST_F(Scrolling, FineWheelTurnsAddUpWithinTheRange)
{
	fVertical->SetSteps(10, 116);
	for (int i = 0; i < 8; i++)
		kit::testing::TurnWheel(fView, 0, 0.125f);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fVertical->Value(), 10);
	EXPECT_EQ(fView->Bounds().top, 10);

	kit::testing::TurnWheel(fView, 0, 0.125f);
	kit::testing::TurnWheel(fView, 0, -0.25f);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fVertical->Value(), 9);

	kit::testing::TurnWheel(fView, 0, 100);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fVertical->Value(), 283);
	kit::testing::TurnWheel(fView, 0, -0.125f);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fVertical->Value(), 282);
	kit::testing::UpdateView(fView);
	ExpectPatternFrom(0, 282);

	auto* plain = new PatternView(BRect(0, 0, 50, 15));
	fWindow->AddChild(plain);
	kit::testing::TurnWheel(plain, 3, 3);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(plain->Bounds(), BRect(0, 0, 50, 15));
	EXPECT_EQ(fVertical->Value(), 282);
	EXPECT_EQ(fHorizontal->Value(), 0);
}

// Screen points agree with the frame the program gave the window, before and after a move,
// and with the view's scrolling; converting there and back changes nothing. This holds
// where the compositor places windows itself (Wayland) too.
TEST_F(Scrolling, ScreenPointsFollowTheFrameAndTheScrolling)
{
	EXPECT_EQ(fWindow->Frame().LeftTop(), BPoint(100, 100));
	fView->ScrollTo(30, 40);
	EXPECT_EQ(fView->ConvertToScreen(BPoint(30, 40)), BPoint(100, 120));
	EXPECT_EQ(fWindow->ConvertToScreen(BPoint(5, 6)), BPoint(105, 106));

	fWindow->MoveTo(300, 200);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fWindow->Frame(), BRect(300, 200, 500, 350));
	EXPECT_EQ(fView->ConvertToScreen(BPoint(30, 40)), BPoint(300, 220));
	for (BPoint point : {BPoint(0, 0), BPoint(31.5f, 47), BPoint(-8, 500)}) {
		EXPECT_EQ(fView->ConvertFromScreen(fView->ConvertToScreen(point)), point);
		EXPECT_EQ(fWindow->ConvertToScreen(fWindow->ConvertFromScreen(point)), point);
	}
}

} // namespace
