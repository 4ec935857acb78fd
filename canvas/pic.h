// The bounds of the current picture in canvas coordinates: the platform's default
// (0, 0, -1, -1) before any picture, kNoPicture once the canvas has been emptied.
#pragma once

#include "Rect.h"

extern BRect pic;

// What pic holds while the canvas is empty after a picture was closed or failed to open.
constexpr BRect kNoPicture(-1, -1, -1, -1);
