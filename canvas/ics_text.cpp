#include "ics_text.h"

#include "utf8_cut.h"

namespace {

const char kReplacement[] = "\xef\xbf\xbd"; // U+FFFD

std::string unescaped(const std::string& value)
{
	std::string text;
	text.reserve(value.size());
	for (size_t i = 0; i < value.size(); i++) {
		if (value[i] != '\\') {
			text += value[i];
		} else if (i + 1 < value.size()) {
			const char next = value[++i];
			text += next == 'n' || next == 'N' ? '\n' : next;
		}
	}
	return text;
}

// The length of the well-formed UTF-8 sequence at text[at], with its code point; 0 when
// the byte there begins none (overlong forms, surrogates and code points past U+10FFFF
// are no UTF-8).
size_t sequence_at(const std::string& text, size_t at, unsigned long* code)
{
	const unsigned char lead = static_cast<unsigned char>(text[at]);
	if (lead < 0x80) {
		*code = lead;
		return 1;
	}
	size_t length;
	unsigned char low = 0x80, high = 0xbf; // the allowed range of the second byte
	if (lead >= 0xc2 && lead <= 0xdf) {
		length = 2;
		*code = lead & 0x1f;
	} else if (lead >= 0xe0 && lead <= 0xef) {
		length = 3;
		*code = lead & 0x0f;
		if (lead == 0xe0)
			low = 0xa0;
		else if (lead == 0xed)
			high = 0x9f;
	} else if (lead >= 0xf0 && lead <= 0xf4) {
		length = 4;
		*code = lead & 0x07;
		if (lead == 0xf0)
			low = 0x90;
		else if (lead == 0xf4)
			high = 0x8f;
	} else {
		return 0;
	}
	if (at + length > text.size())
		return 0;
	for (size_t k = 1; k < length; k++) {
		const unsigned char next = static_cast<unsigned char>(text[at + k]);
		if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xbf))
			return 0;
		*code = (*code << 6) | (next & 0x3f);
	}
	return length;
}

} // namespace

std::string ics_text_line(const std::string& value, size_t limit)
{
	const std::string text = unescaped(value);
	std::string line;
	line.reserve(text.size());
	bool space = true; // so that leading spaces are dropped
	for (size_t at = 0; at < text.size();) {
		unsigned long code;
		const size_t length = sequence_at(text, at, &code);
		if (length == 0) {
			line += kReplacement;
			space = false;
			at++;
			continue;
		}
		if (code == ' ' || code == '\t' || code == '\n' || code == '\r') {
			if (!space)
				line += ' ';
			space = true;
		} else if (code >= 0x20 && !(code >= 0x7f && code <= 0x9f)) {
			line.append(text, at, length);
			space = false;
		}
		at += length;
	}
	if (!line.empty() && line.back() == ' ')
		line.pop_back();
	line.resize(utf8_cut(line, limit));
	while (!line.empty() && line.back() == ' ')
		line.pop_back();
	return line;
}
