#include "utf8_cut.h"

#include <cstring>

// The second and later bytes of a UTF-8 sequence look like 10xxxxxx.
static bool is_continuation_byte(char c)
{
	return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

size_t utf8_cut(std::string_view text, size_t limit)
{
	if (text.size() <= limit)
		return text.size();
	size_t length = limit;
	while (length > 0 && is_continuation_byte(text[length]))
		length--;
	return length;
}

void copy_utf8_cut(char* to, size_t capacity, std::string_view text)
{
	size_t length = utf8_cut(text, capacity);
	// An empty view may hold no data at all, which memcpy must not be given.
	if (length > 0)
		std::memcpy(to, text.data(), length);
	to[length] = '\0';
}
