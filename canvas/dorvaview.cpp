#include "dorvaview.h"

#include "calendar_attributes.h"
#include "program_name.h"

dorvaview::dorvaview(BRect frame)
	: BView(frame, "dorvaview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_PULSE_NEEDED), image(nullptr),
	  panel(nullptr), format_no(0)
{
	set_title(title, kProgramTitle);

	// The band's position and the six colours; the fonts stay as they are.
	const calendar_attributes defaults = default_calendar_attributes();
	atr.band_pos = defaults.band_pos;
	atr.bg_col = defaults.bg_col;
	atr.month_col = defaults.month_col;
	atr.week_col = defaults.week_col;
	atr.sun_col = defaults.sun_col;
	atr.sat_col = defaults.sat_col;
	atr.holy_col = defaults.holy_col;
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
