// Running the kit with no display at all: for programs that draw views into bitmaps, print
// into files and translate images, and never show a window.
#pragma once

#include "SupportDefs.h"

// Makes the kit draw off screen from now on: views in bitmaps, fonts, the translator roster
// and print jobs work without a display, and windows are never shown anywhere. It must come
// before anything else of the kit (a BApplication, a font, the roster, a bitmap's view);
// later it changes nothing and gives B_NOT_ALLOWED, unless the kit already runs off screen
// (B_OK).
status_t use_offscreen_platform();
