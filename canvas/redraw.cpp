#include <cmath>

#include "Window.h"
#include "calm_edge.h"
#include "dorvaview.h"
#include "pic.h"
#include "program_name.h"
#include "window_sizing.h"

void dorvaview::redraw(bool resize)
{
	BWindow* window = Window();
	if (image != nullptr) {
		SetViewColor(B_TRANSPARENT_32_BIT);
		pic = image->Bounds();
		place_band_for_picture(image, cal, &atr);
		if (resize && window != nullptr) {
			int w = int(pic.right - pic.left);
			int h = int(pic.bottom - pic.top);
			fit_window_to_canvas(window, this, w, h);
		}
		char windowTitle[kTitleSize];
		format_window_title(windowTitle, title, int(std::ceil(pic.right - pic.left)) + 1,
			int(std::ceil(pic.bottom - pic.top)) + 1);
		if (window != nullptr)
			window->SetTitle(windowTitle);
		Draw(Bounds());
		return;
	}

	Hide();
	SetViewColor(0, 0, 0, 255);
	pic = kNoPicture;
	if (resize && window != nullptr)
		fit_window_to_canvas(window, this, 0, 0);
	if (window != nullptr)
		window->SetTitle(kProgramTitle);
	Show();
}
