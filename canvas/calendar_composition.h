// A picture with its calendar band over it, drawn by a view of the picture's size: what
// dorva's canvas shows, for the outputs that have no window (dorva-render's images, drawn
// into a bitmap, and its PDF pages, printed).
#pragma once

#include "Bitmap.h"
#include "View.h"
#include "calendar_value.h"

class calendar_composition : public BView {
public:
	// picture is lent, and must outlive the view's drawing.
	calendar_composition(const BBitmap* picture, const calendar_value& value);

	void Draw(BRect update) override;

private:
	const BBitmap* fPicture;
	const calendar_value& fValue;
};
