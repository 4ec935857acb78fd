#include "font_label.h"

#include <cstring>
#include <string_view>

static bool is_continuation_byte(char c)
{
	return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// Copies name into a field of capacity characters and a terminator.
static void copy_name(char* field, size_t capacity, std::string_view name)
{
	size_t length = name.size();
	if (length > capacity) {
		length = capacity;
		while (length > 0 && is_continuation_byte(name[length]))
			length--;
	}
	// An empty view may hold no data at all, which memcpy must not be given.
	if (length > 0)
		std::memcpy(field, name.data(), length);
	field[length] = '\0';
}

void split_font_label(const char* label, font_family* family, font_style* style)
{
	std::string_view text(label != nullptr ? label : "");
	// Drop the last character, the closing ")", whole even if it is not a plain byte.
	size_t end = text.size();
	if (end > 0) {
		end--;
		while (end > 0 && is_continuation_byte(text[end]))
			end--;
	}
	std::string_view body = text.substr(0, end);
	size_t open = body.rfind('(');
	if (open == std::string_view::npos) {
		// Not a label of the font menus; take it for a family name with no style.
		copy_name(*family, B_FONT_FAMILY_LENGTH, text);
		copy_name(*style, B_FONT_STYLE_LENGTH, std::string_view());
		return;
	}
	copy_name(*family, B_FONT_FAMILY_LENGTH, body.substr(0, open));
	copy_name(*style, B_FONT_STYLE_LENGTH, body.substr(open + 1));
}
