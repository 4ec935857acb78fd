// The canvas of the application's main window, at which the configuration window's "set"
// button aims; null while there is none. The application object that owns the main window
// defines it (app/main_canvas.cpp): this folder sits below the application and does not
// name it.
#pragma once

class BView;

BView* main_canvas();
