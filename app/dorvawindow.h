// The main window: the canvas, two scroll bars that scroll it, and the menu bar.
#pragma once

#include "Window.h"

class BScrollBar;
class dorvaview;

class dorvawindow : public BWindow {
public:
	explicit dorvawindow(BRect frame);
	~dorvawindow() override;

	bool QuitRequested() override;
	void FrameResized(float width, float height) override;

	// Fills the output catalogue from the translator roster.
	void get_translator_for_output();
	void setupmenus();
	// Fits window and canvas to a canvas of w x h; 0 stands for the empty canvas's size.
	void resizeview(int w, int h);

	dorvaview* canvas;
	BScrollBar* vbar;
	BScrollBar* hbar;
};
