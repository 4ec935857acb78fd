#include "drop_pos.h"

#include <cmath>

#include "Message.h"
#include "View.h"

BPoint drop_pos;

void update_drop_position(BView* canvas, const BMessage* message)
{
	BPoint point;
	BPoint offset;
	if (message->FindPoint("_drop_point_", &point) != B_OK
		|| message->FindPoint("_drop_offset_", &offset) != B_OK)
		return;
	point = canvas->ConvertFromScreen(point);
	// A scale of zero, or one that is no number, would scale the offset to nowhere: such a
	// scale is left out.
	float scale;
	if (message->FindFloat("scale", &scale) == B_OK && std::isfinite(scale) && scale != 0) {
		offset.x /= scale;
		offset.y /= scale;
	}
	// A position that is no number (from fields that are none, or that overflow) says
	// nowhere: the remembered position stays.
	BPoint position = point - offset;
	if (std::isfinite(position.x) && std::isfinite(position.y))
		drop_pos = position;
}
