// The main window's layout around the canvas, and the rule that fits the window to it.
#pragma once

class BView;
class BWindow;

// A scroll bar's thickness (inclusive, so 15 pixels), and where the canvas starts: below
// the menu bar, which ends above it.
const int kScrollBarSize = 14;
const int kMenuBarBottom = 20;
// Room that the window keeps around the canvas: the vertical scroll bar beside it, the menu
// bar above it and the horizontal scroll bar below it.
const int kWindowExtraWidth = kScrollBarSize;
const int kWindowExtraHeight = kMenuBarBottom + kScrollBarSize;

// The canvas size of the empty canvas.
const int kEmptyCanvasWidth = 186;
const int kEmptyCanvasHeight = 116;
// The smallest window the user can make.
const int kMinimumWindowSize = 35;

// Sizes window and canvas for a canvas of w x h (inclusive sizes, a picture n pixels wide
// has w = n - 1); 0 in either direction stands for the empty canvas's size. The window can
// be made smaller than that, never larger, and zooming gives the full size.
void fit_window_to_canvas(BWindow* window, BView* canvas, int w, int h);
