#include "calendar_attributes.h"
#include "calendar_band.h"
#include "calendar_settings.h"
#include "dorvaview.h"
#include "pic.h"
#include "program_name.h"

// The empty canvas shows the program's name and, below it, its version.
const float kNameSize = 30;
constexpr BPoint kNamePlace(45, 50);
const float kVersionSize = 20;
constexpr BPoint kVersionPlace(75, 80);

void dorvaview::Draw(BRect updateRect)
{
	if (image != nullptr) {
		DrawBitmap(image, updateRect, updateRect);
		draw_cal();
		return;
	}
	// The empty canvas: only the sizes are set, so the texts take whatever colour and font
	// the view holds (white bold at first, what the last calendar drawing left later on).
	SetFontSize(kNameSize);
	DrawString(kProgramName, kNamePlace);
	SetFontSize(kVersionSize);
	DrawString(kProgramVersion, kVersionPlace);
}

// The band over the picture, or over the page's part of the canvas while printing at 100%
// (fitted to the page, the whole picture is printed with its band as on screen).
void dorvaview::draw_cal()
{
	draw_calendar_band(this, image, IsPrinting() && !fPrintingWhole ? Bounds() : pic, atr, cal);
}
