#include "calendar_composition.h"

#include "calendar_band.h"

calendar_composition::calendar_composition(const BBitmap* picture, const calendar_value& value)
	: BView(picture->Bounds(), "calendar", B_FOLLOW_NONE, B_WILL_DRAW), fPicture(picture),
	  fValue(value)
{
}

// As the canvas draws: the picture at its own place under the update, then the band over
// the whole picture.
void calendar_composition::Draw(BRect update)
{
	DrawBitmap(fPicture, update, update);
	draw_calendar_band(this, fPicture, Bounds(), fValue.attributes, fValue.dates);
}
