// The rule that fits the main window to its canvas, and the window title of a picture.
#pragma once

#include "dorvaview.h"

class BWindow;

// The canvas size of the empty canvas.
const int kEmptyCanvasWidth = 186;
const int kEmptyCanvasHeight = 116;
// Room that the window keeps around the canvas: the vertical scroll bar beside it, the menu
// bar above it and the horizontal scroll bar below it.
const int kWindowExtraWidth = 14;
const int kWindowExtraHeight = 34;
// The smallest window the user can make.
const int kMinimumWindowSize = 35;

// Sizes window and canvas for a canvas of w x h (inclusive sizes, a picture n pixels wide
// has w = n - 1); 0 in either direction stands for the empty canvas's size. The window can
// be made smaller than that, never larger, and zooming gives the full size.
void fit_window_to_canvas(BWindow* window, BView* canvas, int w, int h);

// Formats "name[WxH]" into title, shortening the name (at a character boundary) so that
// the size always fits.
void format_window_title(char (&title)[kTitleSize], const char* name, int width, int height);
