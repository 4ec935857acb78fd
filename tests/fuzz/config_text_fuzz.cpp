// The configuration window's texts: a colour typed as hexadecimal digits, read as the C
// library's sscanf("%x") reads it wherever that result is defined, and a font menu label
// taken apart into a family and a style that fit their fields, never cut inside a UTF-8
// character.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "color_scan.h"
#include "font_label.h"

namespace {

// Whether sscanf's result for text is undefined: a number of more than 32 bits.
bool beyond_32_bits(const char* text)
{
	while (std::isspace(static_cast<unsigned char>(*text)))
		text++;
	if (*text == '+' || *text == '-')
		text++;
	if (!std::isxdigit(static_cast<unsigned char>(*text)))
		return false;
	errno = 0;
	unsigned long long magnitude = std::strtoull(text, nullptr, 16);
	return errno == ERANGE || magnitude > 0xffffffffull;
}

void check_color(const char* text)
{
	uint32 color = 0x5a5a5a5a;
	bool read = scan_color(text, &color);
	unsigned int expected = 0;
	int scanned = std::sscanf(text, "%x", &expected);
	if (read) {
		fuzz::Require(scanned == 1 && color == expected, "a colour reads as sscanf reads it");
	} else {
		fuzz::Require(color == 0x5a5a5a5a, "a refused colour leaves the value alone");
		fuzz::Require(scanned != 1 || beyond_32_bits(text), "a colour sscanf reads is read");
	}
}

// Whether text is well-formed UTF-8 (no sequence cut short, none stray, none too long).
bool whole_utf8(const char* text)
{
	const auto* at = reinterpret_cast<const unsigned char*>(text);
	while (*at != 0) {
		unsigned char lead = *at;
		int more = lead < 0x80             ? 0
			: lead >= 0xc2 && lead <= 0xdf ? 1
			: lead >= 0xe0 && lead <= 0xef ? 2
			: lead >= 0xf0 && lead <= 0xf4 ? 3
										   : -1;
		if (more < 0)
			return false;
		unsigned int code = more == 0 ? lead : lead & (0x3f >> more);
		for (int i = 1; i <= more; i++) {
			if ((at[i] & 0xc0) != 0x80)
				return false;
			code = (code << 6) | (at[i] & 0x3f);
		}
		static const unsigned int kLeast[] = {0, 0x80, 0x800, 0x10000};
		if (code < kLeast[more] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff))
			return false;
		at += more + 1;
	}
	return true;
}

void check_font_label(const char* label)
{
	font_family family;
	font_style style;
	std::memset(family, 'x', sizeof(family));
	std::memset(style, 'x', sizeof(style));
	split_font_label(label, &family, &style);
	fuzz::Require(std::memchr(family, '\0', sizeof(family)) != nullptr, "a family fits its field");
	fuzz::Require(std::memchr(style, '\0', sizeof(style)) != nullptr, "a style fits its field");
	if (whole_utf8(label)) {
		fuzz::Require(whole_utf8(family), "a family is not cut inside a character");
		fuzz::Require(whole_utf8(style), "a style is not cut inside a character");
	}
	// A label the font menus would make comes apart into what it was made of.
	std::string made = std::string(family) + "(" + style + ")";
	if (std::strchr(style, '(') == nullptr && made.size() <= 255) {
		font_family familyAgain;
		font_style styleAgain;
		split_font_label(made.c_str(), &familyAgain, &styleAgain);
		fuzz::Require(std::strcmp(familyAgain, family) == 0 && std::strcmp(styleAgain, style) == 0,
			"a label made of a family and a style gives them back");
	}
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	// Both read text up to its terminator, as a text control gives it.
	std::string text(reinterpret_cast<const char*>(data), size);
	check_color(text.c_str());
	check_font_label(text.c_str());
	return 0;
}
