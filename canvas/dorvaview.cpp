#include "dorvaview.h"

#include "calendar_attributes.h"
#include "program_name.h"

dorvaview::dorvaview(BRect frame)
	: BView(frame, "dorvaview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_PULSE_NEEDED), image(nullptr),
	  panel(nullptr), format_no(0)
{
	set_title(title, kProgramTitle);

	atr.band_pos = BAND_AT_BOTTOM;
	atr.bg_col = 0x80000000;    // black at alpha 128
	atr.month_col = 0x0000ff00; // green
	atr.week_col = 0x00000000;  // black
	atr.sun_col = 0x00ff0000;   // red
	atr.sat_col = 0x000000ff;   // blue
	atr.holy_col = 0x00ff0000;  // red
}

dorvaview::~dorvaview()
{
	delete image;
}

void dorvaview::AttachedToWindow()
{
	// The colours and font in which the empty canvas is first drawn: white text on black,
	// with grey glyph edges.
	SetHighColor(255, 255, 255, 255);
	SetViewColor(0, 0, 0, 255);
	SetLowColor(100, 100, 100, 255);
	SetFont(be_bold_font, B_FONT_ALL);
}
