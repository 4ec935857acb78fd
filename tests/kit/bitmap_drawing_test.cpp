// Views drawing into a bitmap: the same drawing calls give the same pixels as in a window,
// the view's frame places it in the bitmap, and the bitmap owns the views it holds.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "Application.h"
#include "Bitmap.h"
#include "KitTesting.h"
#include "View.h"
#include "Window.h"

namespace {

const BRect kSceneFrame(0, 0, 199, 149);

// A picture to copy: colours that change with every pixel.
std::unique_ptr<BBitmap> make_pattern()
{
	auto pattern = std::make_unique<BBitmap>(BRect(0, 0, 149, 99), B_RGB32);
	for (int y = 0; y < 100; y++) {
		auto* row = static_cast<uint8*>(pattern->Bits()) + y * pattern->BytesPerRow();
		for (int x = 0; x < 150; x++) {
			row[x * 4 + 0] = uint8(x * 3);
			row[x * 4 + 1] = uint8(y * 5);
			row[x * 4 + 2] = uint8((x + y) * 2);
			row[x * 4 + 3] = 255;
		}
	}
	return pattern;
}

// A view that uses every kind of drawing the canvas uses: a picture, a translucent fill,
// text in B_OP_COPY (blended between the high and low colours) and in B_OP_ALPHA.
class SceneView : public BView {
public:
	SceneView(BRect frame, bool* deleted = nullptr)
		: BView(frame, "scene", B_FOLLOW_ALL_SIDES, B_WILL_DRAW), fDeleted(deleted),
		  fPattern(make_pattern())
	{
	}
	~SceneView() override
	{
		if (fDeleted != nullptr)
			*fDeleted = true;
	}

	void AttachedToWindow() override { attached++; }

	void Draw(BRect update) override
	{
		// A window fills the update with the view colour first; a bitmap does not.
		SetHighColor(ViewColor());
		FillRect(Bounds());
		DrawBitmap(fPattern.get(), BRect(0, 0, 149, 99), BRect(10, 10, 159, 109));
		SetDrawingMode(B_OP_ALPHA);
		SetHighColor(0, 0, 80, 128);
		FillRect(BRect(0, 80, 199, 149));
		SetDrawingMode(B_OP_COPY);
		BFont font;
		font.SetSize(100.0f / 7);
		SetFont(&font);
		SetHighColor(0, 255, 0);
		SetLowColor(64, 191, 64);
		DrawString("12 May", BPoint(20.5f, 120));
		SetDrawingMode(B_OP_ALPHA);
		SetHighColor(255, 0, 0, 200);
		DrawString("31", BPoint(150, 140));
		SetDrawingMode(B_OP_COPY);
	}

	int attached = 0;

private:
	bool* fDeleted;
	std::unique_ptr<BBitmap> fPattern;
};

// The bitmap's pixels in the rectangle at (left, top) of the scene's size, as B_RGB32 rows
// without padding.
std::vector<uint32> pixels_of(const BBitmap& bitmap, int left, int top)
{
	std::vector<uint32> pixels;
	for (int y = 0; y <= kSceneFrame.IntegerHeight(); y++) {
		auto* row = reinterpret_cast<const uint32*>(
			static_cast<const uint8*>(bitmap.Bits()) + (top + y) * bitmap.BytesPerRow());
		for (int x = 0; x <= kSceneFrame.IntegerWidth(); x++)
			pixels.push_back(row[left + x] | 0xff000000u);
	}
	return pixels;
}

class BitmapDrawing : public testing::Test {
protected:
	void SetUp() override
	{
		fApp = std::make_unique<BApplication>("application/x-vnd.dorva-kit-test");
	}
	void TearDown() override { fApp.reset(); }

	std::unique_ptr<BApplication> fApp;
};

TEST_F(BitmapDrawing, AViewDrawsIntoABitmapWhatItDrawsInAWindow)
{
	// The scene in a window, drawn by the platform's update.
	auto* window = new BWindow(BRect(100, 100, 299, 249), "scene", B_TITLED_WINDOW, 0, 0);
	auto* shown = new SceneView(kSceneFrame);
	window->AddChild(shown);
	window->Show();
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(shown);
	std::unique_ptr<BBitmap> onScreen(kit::testing::SnapshotView(shown));
	ASSERT_NE(onScreen, nullptr);

	// The same scene in a bitmap, drawn by a direct call.
	BBitmap offscreen(kSceneFrame, B_RGB32, true);
	auto* drawn = new SceneView(kSceneFrame);
	offscreen.AddChild(drawn);
	EXPECT_EQ(drawn->attached, 1);
	EXPECT_EQ(drawn->Window(), nullptr);
	ASSERT_TRUE(offscreen.Lock());
	drawn->Draw(drawn->Bounds());
	drawn->Sync();
	offscreen.Unlock();

	std::vector<uint32> expected = pixels_of(*onScreen, 0, 0);
	std::vector<uint32> got = pixels_of(offscreen, 0, 0);
	int differing = 0;
	for (size_t i = 0; i < expected.size(); i++)
		differing += expected[i] != got[i];
	EXPECT_EQ(differing, 0);
	// Something was drawn: the picture's corner and the text are there.
	EXPECT_NE(got[10 * 200 + 11], got[10 * 200 + 12]);

	window->Lock();
	window->Quit();
	kit::testing::RunUntilIdle();
}

TEST_F(BitmapDrawing, TheFramePlacesTheViewAndNothingSpillsOutOfIt)
{
	BBitmap reference(kSceneFrame, B_RGB32, true);
	auto* first = new SceneView(kSceneFrame);
	reference.AddChild(first);
	first->Draw(first->Bounds());

	// In a larger bitmap, at (30, 40): the same pixels there, and none outside the frame.
	BBitmap larger(BRect(0, 0, 299, 249), B_RGB32, true);
	auto* placed = new SceneView(kSceneFrame.OffsetToCopy(30, 40));
	larger.AddChild(placed);
	EXPECT_EQ(larger.FindView("scene"), placed);
	larger.Lock();
	placed->Draw(placed->Bounds());
	larger.Unlock();
	EXPECT_EQ(pixels_of(larger, 30, 40), pixels_of(reference, 0, 0));
	auto* bits = static_cast<const uint8*>(larger.Bits());
	for (int y : {0, 39, 190, 249}) {
		for (int x : {0, 29, 230, 299}) {
			const uint8* pixel = bits + y * larger.BytesPerRow() + x * 4;
			EXPECT_EQ(pixel[0] | pixel[1] | pixel[2], 0) << x << "," << y;
		}
	}
}

TEST_F(BitmapDrawing, TheBitmapOwnsItsViewsAndOnlyABitmapForViewsTakesThem)
{
	bool deleted = false;
	auto bitmap = std::make_unique<BBitmap>(kSceneFrame, B_RGB32, true);
	bitmap->AddChild(new SceneView(kSceneFrame, &deleted));
	EXPECT_EQ(bitmap->CountChildren(), 1);
	bitmap.reset();
	EXPECT_TRUE(deleted);

	// Taken out, a view is the caller's again; deleted, it leaves the bitmap.
	BBitmap holder(kSceneFrame, B_RGB32, true);
	auto* view = new SceneView(kSceneFrame);
	holder.AddChild(view);
	EXPECT_TRUE(holder.RemoveChild(view));
	EXPECT_EQ(holder.CountChildren(), 0);
	EXPECT_FALSE(holder.RemoveChild(view));
	holder.AddChild(view);
	EXPECT_EQ(holder.ChildAt(0), view);
	delete view;
	EXPECT_EQ(holder.CountChildren(), 0);

	// A bitmap made without B_BITMAP_ACCEPTS_VIEWS takes none and cannot be locked.
	BBitmap plain(kSceneFrame, B_RGB32);
	SceneView refused(kSceneFrame);
	plain.AddChild(&refused);
	EXPECT_EQ(plain.CountChildren(), 0);
	EXPECT_FALSE(plain.Lock());
}

} // namespace
