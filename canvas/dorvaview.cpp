#include "dorvaview.h"

#include <cstring>

#include "calendar_attributes.h"

calendar_attributes atr;
BRect pic;

// The name shown before any picture is opened.
static const char kProgramTitle[] = "dorva ver.0.00";

dorvaview::dorvaview(BRect frame)
	: BView(frame, "dorvaview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW | B_PULSE_NEEDED),
	  image(nullptr), panel(nullptr), format_no(0)
{
	set_title(title, kProgramTitle);

	atr.band_pos = BAND_AT_BOTTOM;
	atr.bg_col = 0x80000000;  // black at alpha 128
	atr.month_col = 0x0000ff00;
	atr.week_col = 0x00000000;
	atr.sun_col = 0x00ff0000;
	atr.sat_col = 0x000000ff;
	atr.holy_col = 0x00ff0000;
}

dorvaview::~dorvaview()
{
	delete image;
}

void dorvaview::AttachedToWindow()
{
	// The colours and font in which the empty canvas is first drawn.
	SetHighColor(255, 255, 255, 255);
	SetViewColor(0, 0, 0, 255);
	SetLowColor(100, 100, 100, 255);
	SetFont(be_bold_font, B_FONT_ALL);
}

void set_title(char (&title)[kTitleSize], const char* text)
{
	size_t length = std::strlen(text);
	if (length >= kTitleSize) {
		// Cut at a character boundary: never leave half of a UTF-8 sequence behind.
		length = kTitleSize - 1;
		while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xc0) == 0x80)
			length--;
	}
	std::memcpy(title, text, length);
	title[length] = '\0';
}
