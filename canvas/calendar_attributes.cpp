#include "calendar_attributes.h"

calendar_attributes default_calendar_attributes()
{
	calendar_attributes defaults{};
	defaults.band_pos = BAND_AT_BOTTOM;
	defaults.bg_col = 0x80000000;    // black at alpha 128
	defaults.month_col = 0x0000ff00; // green
	defaults.week_col = 0x00000000;  // black
	defaults.sun_col = 0x00ff0000;   // red
	defaults.sat_col = 0x000000ff;   // blue
	defaults.holy_col = 0x00ff0000;  // red
	return defaults;
}
