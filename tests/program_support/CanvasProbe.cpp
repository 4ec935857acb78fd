#include "CanvasProbe.h"

#include <cstring>
#include <memory>

BBitmap* make_picture(int width, int height, uint8 r, uint8 g, uint8 b)
{
	auto* picture = new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGB32);
	const uint8 pixel[4] = {b, g, r, 255};
	auto* bits = static_cast<uint8*>(picture->Bits());
	for (int y = 0; y < height; y++) {
		for (int x = 0; x < width; x++)
			std::memcpy(bits + size_t(y) * picture->BytesPerRow() + size_t(x) * 4, pixel, 4);
	}
	return picture;
}

void show_picture(dorvaview* canvas, BBitmap* picture)
{
	delete canvas->image;
	canvas->image = picture;
	canvas->redraw(true);
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(canvas);
}

rgb_color shown_pixel(BView* view, int x, int y)
{
	rgb_color kept = kit::testing::ViewPixel(view, x, y);
	if (kept.alpha != 0)
		return kept;
	BPoint scroll = view->Bounds().LeftTop();
	std::unique_ptr<BBitmap> fresh(
		kit::testing::RenderView(view, BRect(x, y, x, y).OffsetByCopy(scroll.x, scroll.y)));
	const uint8* bits = static_cast<const uint8*>(fresh->Bits());
	return rgb_color{bits[2], bits[1], bits[0], 255};
}

InkCount count_ink(BView* view, int left, int top, int right, int bottom,
	const std::function<bool(rgb_color)>& predicate)
{
	// The pixels the view keeps are read as they are; the others as the view draws them
	// when they come into sight, all in one drawing.
	BRect box(left, top, right, bottom);
	BRect kept = kit::testing::KeptArea(view);
	std::unique_ptr<BBitmap> fresh;
	if (!kept.IsValid() || (kept & box) != box) {
		BPoint scroll = view->Bounds().LeftTop();
		fresh.reset(kit::testing::RenderView(view, box.OffsetByCopy(scroll.x, scroll.y)));
	}
	InkCount ink;
	double sumX = 0;
	for (int y = top; y <= bottom; y++) {
		for (int x = left; x <= right; x++) {
			rgb_color pixel = kit::testing::ViewPixel(view, x, y);
			if (pixel.alpha == 0 && fresh != nullptr) {
				const uint8* bits = static_cast<const uint8*>(fresh->Bits())
					+ size_t(y - top) * fresh->BytesPerRow() + size_t(x - left) * 4;
				pixel = rgb_color{bits[2], bits[1], bits[0], 255};
			}
			if (predicate(pixel)) {
				ink.count++;
				sumX += x;
			}
		}
	}
	ink.meanX = ink.count ? sumX / ink.count : -1;
	return ink;
}

bool is_red(rgb_color c)
{
	return c.red > 150 && c.green < 100 && c.blue < 100;
}
bool is_magenta(rgb_color c)
{
	return c.red > 150 && c.blue > 150 && c.green < 100;
}
bool is_blue(rgb_color c)
{
	return c.blue > 150 && c.red < 100 && c.green < 100;
}
bool is_green(rgb_color c)
{
	return c.green > 150 && c.red < 100 && c.blue < 100;
}
bool is_black(rgb_color c)
{
	return c.red < 40 && c.green < 40 && c.blue < 40;
}

int line_height(float size)
{
	BFont font;
	font.SetSize(size);
	font_height height;
	font.GetHeight(&height);
	return int(height.ascent + height.descent);
}
