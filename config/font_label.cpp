#include "font_label.h"

#include <string_view>

#include "utf8_cut.h"

void split_font_label(const char* label, font_family* family, font_style* style)
{
	std::string_view text(label != nullptr ? label : "");
	// Drop the last character, the closing ")", whole even if it is not a plain byte.
	size_t end = text.empty() ? 0 : utf8_cut(text, text.size() - 1);
	std::string_view body = text.substr(0, end);
	size_t open = body.rfind('(');
	if (open == std::string_view::npos) {
		// Not a label of the font menus; take it for a family name with no style.
		copy_utf8_cut(*family, B_FONT_FAMILY_LENGTH, text);
		copy_utf8_cut(*style, B_FONT_STYLE_LENGTH, std::string_view());
		return;
	}
	copy_utf8_cut(*family, B_FONT_FAMILY_LENGTH, body.substr(0, open));
	copy_utf8_cut(*style, B_FONT_STYLE_LENGTH, body.substr(open + 1));
}
