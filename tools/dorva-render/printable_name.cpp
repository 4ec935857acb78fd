#include "printable_name.h"

#include <cstdio>

namespace {

// The length of the valid UTF-8 character at text[i], or 0.
size_t utf8_length(const std::string& text, size_t i)
{
	const unsigned char lead = static_cast<unsigned char>(text[i]);
	size_t length = lead < 0x80       ? 1
		: lead >= 0xc2 && lead < 0xe0 ? 2
		: lead >= 0xe0 && lead < 0xf0 ? 3
		: lead >= 0xf0 && lead < 0xf5 ? 4
									  : 0;
	if (length == 0 || i + length > text.size())
		return 0;
	unsigned int code = length == 1 ? lead : lead & (0x7f >> length);
	for (size_t k = 1; k < length; k++) {
		const unsigned char next = static_cast<unsigned char>(text[i + k]);
		if ((next & 0xc0) != 0x80)
			return 0;
		code = (code << 6) | (next & 0x3f);
	}
	// Overlong forms, surrogates and what lies beyond Unicode are not valid.
	const unsigned int least[] = {0, 0, 0x80, 0x800, 0x10000};
	if (code < least[length] || (code >= 0xd800 && code < 0xe000) || code > 0x10ffff)
		return 0;
	return length;
}

std::string escaped(const char* format, unsigned int value)
{
	char text[8];
	std::snprintf(text, sizeof(text), format, value);
	return text;
}

} // namespace

std::string printable_name(const std::string& text)
{
	std::string out;
	for (size_t i = 0; i < text.size();) {
		const unsigned char byte = static_cast<unsigned char>(text[i]);
		const size_t length = utf8_length(text, i);
		if (length == 0) {
			out += escaped("\\x%02x", byte);
			i++;
		} else if (byte == '\n') {
			out += "\\n";
			i++;
		} else if (byte == '\t') {
			out += "\\t";
			i++;
		} else if (byte < 0x20 || byte == 0x7f) {
			out += escaped("\\x%02x", byte);
			i++;
		} else if (byte == 0xc2 && static_cast<unsigned char>(text[i + 1]) < 0xa0) {
			out += escaped("\\u%04x", static_cast<unsigned char>(text[i + 1]));
			i += 2;
		} else {
			out.append(text, i, length);
			i += length;
		}
	}
	return out;
}
