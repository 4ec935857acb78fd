// Where the next dropped image goes: the point at which the user let go, less the offset
// at which the dragged thing was held. One position for the program, in canvas coordinates.
#pragma once

#include "Point.h"

class BMessage;
class BView;

extern BPoint drop_pos;

// Takes the drop point and offset from any message that carries both. A "scale" of zero
// or one that is no number is left out; a position that comes out as no number leaves
// drop_pos as it was.
void update_drop_position(BView* canvas, const BMessage* message);
