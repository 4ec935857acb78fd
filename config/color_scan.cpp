#include "color_scan.h"

#include <cctype>

static int hex_digit(char c)
{
	if (c >= '0' && c <= '9')
		return c - '0';
	if (c >= 'a' && c <= 'f')
		return c - 'a' + 10;
	if (c >= 'A' && c <= 'F')
		return c - 'A' + 10;
	return -1;
}

bool scan_color(const char* text, uint32* color)
{
	if (text == nullptr || color == nullptr)
		return false;
	const char* p = text;
	while (std::isspace(static_cast<unsigned char>(*p)))
		p++;
	bool negative = false;
	if (*p == '+' || *p == '-') {
		negative = *p == '-';
		p++;
	}
	// "0x" is a prefix only when a digit follows it; otherwise its "0" is the number.
	if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && hex_digit(p[2]) >= 0)
		p += 2;
	if (hex_digit(*p) < 0)
		return false;
	while (*p == '0')
		p++;

	const int kMaxDigits = 8; // 32 bits
	uint32 value = 0;
	int digits = 0;
	for (int digit; (digit = hex_digit(*p)) >= 0; p++) {
		if (++digits > kMaxDigits)
			return false;
		value = (value << 4) | uint32(digit);
	}
	*color = negative ? uint32(0) - value : value;
	return true;
}
