// The configuration window: at most one exists at a time, which cwin records. It builds
// its controls from atr when it opens and shows itself; closing it clears cwin.
#pragma once

#include "Window.h"
#include "cwin.h"

class configview;

class configwindow : public BWindow {
public:
	configwindow();
	~configwindow() override;

	bool QuitRequested() override;

	configview* view;
};
