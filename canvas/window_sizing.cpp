#include "window_sizing.h"

#include "View.h"
#include "Window.h"

void fit_window_to_canvas(BWindow* window, BView* canvas, int w, int h)
{
	if (w == 0)
		w = kEmptyCanvasWidth;
	if (h == 0)
		h = kEmptyCanvasHeight;
	const float width = w + kWindowExtraWidth;
	const float height = h + kWindowExtraHeight;
	window->SetSizeLimits(kMinimumWindowSize, width, kMinimumWindowSize, height);
	window->SetZoomLimits(width, height);
	window->ResizeTo(width, height);
	canvas->ResizeTo(w, h);
}
