#include "configwindow.h"

#include "configview.h"

// Where the window opens, and its view, which fills it.
constexpr BRect kWindowFrame(150, 150, 400, 400);
constexpr BRect kViewFrame(0, 0, 250, 250);

configwindow::configwindow()
	: BWindow(kWindowFrame, "config", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE,
		B_CURRENT_WORKSPACE)
{
	cwin = true;
	// Adding the view builds its controls, so they show what atr holds now.
	view = new configview(kViewFrame);
	AddChild(view);
	Show();
}

configwindow::~configwindow() = default;

bool configwindow::QuitRequested()
{
	cwin = false;
	return true;
}
