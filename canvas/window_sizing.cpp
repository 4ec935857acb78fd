#include "window_sizing.h"

#include <cstdio>
#include <cstring>

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

void format_window_title(char (&title)[kTitleSize], const char* name, int width, int height)
{
	char size[32];
	std::snprintf(size, sizeof(size), "[%dx%d]", width, height);
	size_t sizeLength = std::strlen(size);
	size_t room = kTitleSize - 1 - sizeLength;
	size_t nameLength = std::strlen(name);
	if (nameLength > room) {
		nameLength = room;
		while (nameLength > 0 && (static_cast<unsigned char>(name[nameLength]) & 0xc0) == 0x80)
			nameLength--;
	}
	std::memcpy(title, name, nameLength);
	std::memcpy(title + nameLength, size, sizeLength + 1);
}
