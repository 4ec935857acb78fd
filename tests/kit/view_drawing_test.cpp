// A view keeps pixels only for the part of it that can be shown, draws the rest when it
// comes into sight, and an update draws only what it updates while the view's drawing
// state ends up as if everything had been drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "Bitmap.h"
#include "KitTesting.h"
#include "View.h"
#include "Window.h"

namespace {

// Each 10 x 10 block of the view's coordinates has a colour of its own.
rgb_color block_colour(int x, int y)
{
	return rgb_color{uint8((x / 10) * 7 % 256), uint8((y / 10) * 7 % 256), 60, 255};
}

bool same_colour(rgb_color a, rgb_color b)
{
	return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

rgb_color bitmap_pixel(const BBitmap& bitmap, int x, int y)
{
	BRect bounds = bitmap.Bounds();
	const uint8* bits = static_cast<const uint8*>(bitmap.Bits())
		+ size_t(y - int(bounds.top)) * bitmap.BytesPerRow() + size_t(x - int(bounds.left)) * 4;
	return rgb_color{bits[2], bits[1], bits[0], 255};
}

// Fills what it is asked to draw with the blocks, then writes texts far apart: one in the
// top-left block and the last one near the bottom-right corner of a large view.
class BlocksView : public BView {
public:
	explicit BlocksView(BRect frame) : BView(frame, "blocks", B_FOLLOW_NONE, B_WILL_DRAW) {}

	void Draw(BRect update) override
	{
		updates.push_back(update);
		for (int y = int(update.top) / 10 * 10; y <= update.bottom; y += 10) {
			for (int x = int(update.left) / 10 * 10; x <= update.right; x += 10) {
				SetHighColor(block_colour(x, y));
				FillRect(BRect(x, y, x + 9, y + 9));
			}
		}
		SetHighColor(255, 255, 255);
		SetLowColor(0, 0, 0);
		SetFontSize(14);
		DrawString("top", BPoint(12, 30));
		SetHighColor(250, 250, 0);
		SetFontSize(40);
		DrawString("far away", kFarText);
	}

	static constexpr BPoint kFarText{1700, 1400};
	std::vector<BRect> updates;
};

class ViewDrawing : public testing::Test {
protected:
	void SetUp() override
	{
		fApp = std::make_unique<BApplication>("application/x-vnd.dorva-kit-test");
		// A window of 201 x 151 pixels, partly left of and above the screen's edge, with a
		// view of 1801 x 1501 pixels in it: only its part inside the window and on the
		// screen can be shown.
		fWindow = new BWindow(BRect(-50, -40, 150, 110), "drawing", B_TITLED_WINDOW, 0, 0);
		fView = new BlocksView(BRect(0, 0, 1800, 1500));
		fWindow->AddChild(fView);
		fWindow->Show();
		kit::testing::RunUntilIdle();
		kit::testing::UpdateView(fView);
		// Where the platform put the window (it may keep room for a frame around it): what
		// lies left of and above the screen's edge cannot be shown.
		fLeft = int(-fWindow->Frame().left);
		fTop = int(-fWindow->Frame().top);
	}

	void TearDown() override { fApp.reset(); }

	// Checks kept pixels of the frame's box, where no text stands, against the blocks seen
	// from the scroll offset.
	void ExpectBlocks(int left, int top, int right, int bottom)
	{
		BPoint scroll = fView->Bounds().LeftTop();
		for (int y = top; y <= bottom; y += 7) {
			for (int x = left; x <= right; x += 7) {
				rgb_color pixel = kit::testing::ViewPixel(fView, x, y);
				ASSERT_TRUE(same_colour(pixel, block_colour(x + int(scroll.x), y + int(scroll.y))))
					<< "at (" << x << ", " << y << ")";
			}
		}
	}

	std::unique_ptr<BApplication> fApp;
	BWindow* fWindow = nullptr;
	BlocksView* fView = nullptr;
	int fLeft = 0;
	int fTop = 0;
};

TEST_F(ViewDrawing, KeepsPixelsOnlyForThePartInsideItsWindowAndOnTheScreen)
{
	ASSERT_GT(fLeft, 40);
	ASSERT_GT(fTop, 30);
	const BRect shown(fLeft, fTop, 200, 150);
	EXPECT_EQ(kit::testing::KeptArea(fView), shown);
	std::unique_ptr<BBitmap> kept(kit::testing::SnapshotView(fView));
	ASSERT_NE(kept, nullptr);
	EXPECT_EQ(kept->Bounds(), shown);
	// The first update drew what can be shown, nothing more.
	ASSERT_EQ(fView->updates.size(), 1u);
	EXPECT_EQ(fView->updates[0], shown);
	ExpectBlocks(fLeft, fTop, 200, 150);
	EXPECT_EQ(kit::testing::ViewPixel(fView, 10, 10).alpha, 0);
	EXPECT_EQ(kit::testing::ViewPixel(fView, 500, 100).alpha, 0);
}

TEST_F(ViewDrawing, WhatScrollsIntoSightIsDrawnThenAndTheRestMovesAlong)
{
	fView->updates.clear();
	fView->ScrollBy(0, 30);
	kit::testing::UpdateView(fView);
	// Only the strip that came into sight was drawn: the last 30 rows of the window.
	ASSERT_EQ(fView->updates.size(), 1u);
	EXPECT_EQ(fView->updates[0], BRect(fLeft, 151, 200, 180));
	ExpectBlocks(fLeft, fTop, 200, 150);

	// Far away, the view draws in full whatever comes into sight.
	fView->updates.clear();
	fView->ScrollTo(1650, 1350);
	kit::testing::UpdateView(fView);
	ASSERT_EQ(fView->updates.size(), 1u);
	EXPECT_EQ(fView->updates[0], BRect(1650 + fLeft, 1350 + fTop, 1850, 1500));
	ExpectBlocks(fLeft, 70, 200, 110); // below the far text
	int yellow = 0;
	for (int y = fTop; y <= 110; y++) {
		for (int x = fLeft; x <= 200; x++) {
			rgb_color pixel = kit::testing::ViewPixel(fView, x, y);
			yellow += pixel.red > 200 && pixel.green > 200 && pixel.blue < 100;
		}
	}
	EXPECT_GT(yellow, 50);
}

TEST_F(ViewDrawing, AWindowThatGrowsDrawsWhatItUncovers)
{
	// Moved wholly onto the screen, the window uncovers its left and top parts.
	fWindow->MoveTo(20, 20);
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(fView);
	EXPECT_EQ(kit::testing::KeptArea(fView), BRect(0, 0, 200, 150));
	ExpectBlocks(0, 50, 200, 150); // below the text at the top

	fView->updates.clear();
	fWindow->ResizeTo(300, 150);
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(fView);
	EXPECT_EQ(kit::testing::KeptArea(fView), BRect(0, 0, 300, 150));
	ASSERT_EQ(fView->updates.size(), 1u);
	EXPECT_EQ(fView->updates[0], BRect(201, 0, 300, 150));
	ExpectBlocks(0, 50, 300, 150);
}

TEST_F(ViewDrawing, AWindowLargerThanTheScreenTakesItsSizeButKeepsOnlyWhatCanBeShown)
{
	fWindow->MoveTo(20, 20);
	kit::testing::RunUntilIdle();
	// Larger than the off-screen platform's screen of 800 x 800 pixels.
	fWindow->ResizeTo(1500, 1200);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(fWindow->Frame().Width(), 1500);
	EXPECT_EQ(fWindow->Frame().Height(), 1200);
	int32 width = 0, height = 0;
	kit::testing::PlatformWindowSize(fWindow, &width, &height);
	EXPECT_EQ(width, 1501);
	EXPECT_EQ(height, 1201);
	// The view keeps pixels only for its part on the screen.
	BRect kept = kit::testing::KeptArea(fView);
	EXPECT_EQ(kept.LeftTop(), BPoint(0, 0));
	EXPECT_LT(kept.Width(), 800);
	EXPECT_LT(kept.Height(), 800);
}

TEST_F(ViewDrawing, AnUpdateDrawsOnlyItsAreaButLeavesTheStateAsIfAllWereDrawn)
{
	// Paint over what is kept, then update a small part that cuts through blocks: the
	// blocks the view fills reach past it, but nothing outside it changes.
	const rgb_color painted = {1, 2, 3, 255};
	fView->SetHighColor(painted);
	fView->FillRect(fView->Bounds());
	fView->updates.clear();
	const BRect small(105, 103, 114, 108);
	fView->Invalidate(small);
	kit::testing::UpdateView(fView);
	ASSERT_EQ(fView->updates.size(), 1u);
	EXPECT_EQ(fView->updates[0], small);
	int changed = 0;
	for (int y = fTop; y <= 150; y++) {
		for (int x = fLeft; x <= 200; x++) {
			rgb_color pixel = kit::testing::ViewPixel(fView, x, y);
			if (small.Contains(BPoint(x, y))) {
				EXPECT_TRUE(same_colour(pixel, block_colour(x, y))) << x << ", " << y;
			}
			changed += !same_colour(pixel, painted);
		}
	}
	EXPECT_EQ(changed, 60);

	// The far text was not drawn, yet the view is left as if it had been.
	BFont font;
	fView->GetFont(&font);
	EXPECT_EQ(font.Size(), 40);
	EXPECT_EQ(fView->HighColor(), (rgb_color{250, 250, 0, 255}));
	EXPECT_EQ(fView->PenLocation(),
		BPoint(BlocksView::kFarText.x + fView->StringWidth("far away"), BlocksView::kFarText.y));
}

TEST_F(ViewDrawing, ADirectDrawIsClippedToWhatCanBeShownAndTheRestIsDrawnWhenAskedFor)
{
	fView->updates.clear();
	fView->Draw(fView->Bounds());
	ExpectBlocks(fLeft, fTop, 200, 150);
	EXPECT_EQ(fView->PenLocation(),
		BPoint(BlocksView::kFarText.x + fView->StringWidth("far away"), BlocksView::kFarText.y));

	// What the view shows far away, drawn on demand, holds the blocks and the far text.
	BRect far(1690, 1360, 1800, 1420);
	std::unique_ptr<BBitmap> fresh(kit::testing::RenderView(fView, far));
	ASSERT_NE(fresh, nullptr);
	EXPECT_EQ(fresh->Bounds(), far);
	EXPECT_TRUE(same_colour(bitmap_pixel(*fresh, 1695, 1365), block_colour(1695, 1365)));
	int yellow = 0;
	for (int y = 1360; y <= 1420; y++) {
		for (int x = 1690; x <= 1800; x++) {
			rgb_color pixel = bitmap_pixel(*fresh, x, y);
			yellow += pixel.red > 200 && pixel.green > 200 && pixel.blue < 100;
		}
	}
	EXPECT_GT(yellow, 50);
	// Drawing on demand changed nothing that the view keeps.
	ExpectBlocks(fLeft, fTop, 200, 150);
}

} // namespace
