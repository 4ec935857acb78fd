// Pasting dropped image data into the canvas picture.
#pragma once

#include "Bitmap.h"
#include "Point.h"

// Copies source (B_RGB32) into canvas (B_RGB32) with its top-left pixel at at, each
// coordinate truncated toward zero, leaving out every pixel that falls outside pic or the
// canvas bitmap. Plain 32-bit copies: no blending, the alpha byte goes along. A position
// that is no number, or too far out for any pixel to land, pastes nothing.
void composite(BBitmap* canvas, const BBitmap* source, BPoint at);
