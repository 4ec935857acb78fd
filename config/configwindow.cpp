#include "configwindow.h"

#include "configview.h"

configwindow::configwindow()
	: BWindow(BRect(150, 150, 400, 400), "config", B_TITLED_WINDOW,
		  B_NOT_RESIZABLE | B_NOT_ZOOMABLE, B_CURRENT_WORKSPACE)
{
	cwin = true;
	// Adding the view builds its controls, so they show what atr holds now.
	view = new configview(BRect(0, 0, 250, 250));
	AddChild(view);
	Show();
}

configwindow::~configwindow() = default;

bool configwindow::QuitRequested()
{
	cwin = false;
	return true;
}
