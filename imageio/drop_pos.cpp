#include "drop_pos.h"

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
	float scale;
	if (message->FindFloat("scale", &scale) == B_OK) {
		offset.x /= scale;
		offset.y /= scale;
	}
	drop_pos = point - offset;
}
