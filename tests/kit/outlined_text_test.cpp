// Text in an outline (DrawStringInOutline) and the ink box of a text (StringBounds): the
// glyphs stand where DrawString puts them, ringed by the low colour, and nothing is drawn
// beyond the ring.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>

#include "Application.h"
#include "Bitmap.h"
#include "View.h"

namespace {

const BRect kFrame(0, 0, 159, 79);
const uint8 kGround = 128;
const BPoint kBaseline(20.375f, 55.5f);
const float kSize = 40;

// The pixels drawn by draw on grey, in a bitmap.
std::unique_ptr<BBitmap> drawn(const std::function<void(BView*)>& draw)
{
	auto bitmap = std::make_unique<BBitmap>(kFrame, B_RGB32, true);
	auto* view = new BView(kFrame, "text", B_FOLLOW_ALL_SIDES, B_WILL_DRAW);
	bitmap->AddChild(view);
	bitmap->Lock();
	view->SetHighColor(kGround, kGround, kGround);
	view->FillRect(view->Bounds());
	BFont font;
	font.SetSize(kSize);
	view->SetFont(&font);
	view->SetHighColor(255, 255, 255);
	view->SetLowColor(0, 0, 0);
	draw(view);
	bitmap->Unlock();
	return bitmap;
}

uint8 grey_at(const BBitmap& bitmap, int x, int y)
{
	return static_cast<const uint8*>(bitmap.Bits())[y * bitmap.BytesPerRow() + x * 4 + 1];
}

class OutlinedText : public testing::Test {
protected:
	void SetUp() override
	{
		fApp = std::make_unique<BApplication>("application/x-vnd.dorva-kit-test");
	}
	void TearDown() override { fApp.reset(); }

	std::unique_ptr<BApplication> fApp;
};

TEST_F(OutlinedText, GlyphsStandWhereDrawStringPutsThemInsideARingOfTheLowColour)
{
	const float width = 6;
	// Outlined text stands on whole pixels.
	const BPoint whole(20, 56);
	auto plain = drawn([whole](BView* view) { view->DrawString("18", whole); });
	auto outlined =
		drawn([width](BView* view) { view->DrawStringInOutline("18", kBaseline, width); });
	BFont font;
	font.SetSize(kSize);
	BRect ink = font.StringBounds("18").OffsetByCopy(whole.x, whole.y);

	int glyphs = 0, ring = 0;
	for (int y = 0; y <= kFrame.IntegerHeight(); y++) {
		for (int x = 0; x <= kFrame.IntegerWidth(); x++) {
			const uint8 before = grey_at(*plain, x, y), after = grey_at(*outlined, x, y);
			// The ink box holds every pixel that the text touches.
			if (before != kGround) {
				EXPECT_TRUE(x >= ink.left - 1 && x <= ink.right + 1) << x << "," << y;
			}
			// The glyphs' full pixels are the same, in the high colour.
			if (before == 255) {
				EXPECT_EQ(after, 255) << x << "," << y;
				glyphs++;
			}
			// Dark pixels ring the glyphs: none farther than half the width (and a pixel of
			// antialiasing) from the text's ink box.
			if (after < 40) {
				ring++;
				EXPECT_GE(x, ink.left - width / 2 - 1) << x << "," << y;
				EXPECT_LE(x, ink.right + width / 2 + 1) << x << "," << y;
			}
		}
	}
	EXPECT_GT(glyphs, 100);
	EXPECT_GT(ring, glyphs / 2);
	// Across the middle of the "1": the ring just left of its stem, the ground beyond.
	const int middle = int(whole.y - kSize * 0.35f);
	int stem = 0;
	while (stem < kFrame.IntegerWidth() && grey_at(*outlined, stem, middle) != 255)
		stem++;
	EXPECT_LT(grey_at(*outlined, stem - 2, middle), 40);
	EXPECT_EQ(grey_at(*outlined, stem - int(width / 2) - 3, middle), kGround);
}

TEST_F(OutlinedText, WithoutWidthItIsDrawStringAndThePenMovesAlike)
{
	BPoint penPlain, penOutlined;
	auto plain = drawn([&](BView* view) {
		view->DrawString("25", kBaseline);
		penPlain = view->PenLocation();
	});
	auto outlined = drawn([&](BView* view) {
		view->DrawStringInOutline("25", kBaseline, 0);
		penOutlined = view->PenLocation();
	});
	EXPECT_EQ(std::memcmp(plain->Bits(), outlined->Bits(), size_t(plain->BitsLength())), 0);
	EXPECT_EQ(penPlain, penOutlined);
	auto wide = drawn([&](BView* view) {
		view->DrawStringInOutline("25", kBaseline, 4);
		penOutlined = view->PenLocation();
	});
	EXPECT_EQ(penPlain, penOutlined);
}

} // namespace
