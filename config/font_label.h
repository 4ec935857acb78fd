// Font menu items are labelled "family(style)"; this takes such a label apart again.
#pragma once

#include "Font.h"

// Splits label at its last "(": what comes before is the family, what lies between it and
// the label's last character (the closing ")") is the style. A label without "(" is all
// family, with an empty style. Names too long for their fields are cut at a character
// boundary, so that no half UTF-8 sequence is left behind.
void split_font_label(const char* label, font_family* family, font_style* style);
