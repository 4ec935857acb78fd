// Helpers that put a picture into the canvas and look at what it drew.
#pragma once

#include <functional>

#include "Bitmap.h"
#include "KitTesting.h"
#include "dorvaview.h"

// A B_RGB32 picture of the given size, every pixel (r, g, b).
BBitmap* make_picture(int width, int height, uint8 r, uint8 g, uint8 b);

// Gives the canvas the picture (it takes ownership) and redraws as a load would.
void show_picture(dorvaview* canvas, BBitmap* picture);

// What the view shows at (x, y) of its frame: the pixel it keeps there, or where it keeps
// none (outside the window or the screen), what it draws there when that comes into sight.
rgb_color shown_pixel(BView* view, int x, int y);

// The colours of the band's texts, told apart as the tests see them.
bool is_red(rgb_color c);
bool is_magenta(rgb_color c);
bool is_blue(rgb_color c);
bool is_green(rgb_color c);
bool is_black(rgb_color c);

// The height of a line of the plain font at a size, ascent and descent cut to whole pixels,
// as the band lays its lines out.
int line_height(float size);

// Counts the canvas pixels in the inclusive box for which the predicate holds, and their
// mean x.
struct InkCount {
	int count = 0;
	double meanX = 0;
};
InkCount count_ink(BView* view, int left, int top, int right, int bottom,
	const std::function<bool(rgb_color)>& predicate);
