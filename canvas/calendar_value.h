// One calendar to compose, as plain data: the attributes that the configuration window
// edits (band edge, colours, fonts) and the dates (year, week start, holidays). The window
// composes atr and cal; dorva-render makes values of its own from its options.
#pragma once

#include "calendar_attributes.h"
#include "calendar_settings.h"

struct calendar_value {
	calendar_attributes attributes = default_calendar_attributes();
	calendar_settings dates; // 2007, Sunday first, the holidays of Japan
};
