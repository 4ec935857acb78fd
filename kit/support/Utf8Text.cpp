#include "Utf8Text.h"

#include <cstring>

namespace kit {

namespace {

// A continuation byte of a UTF-8 sequence: 10xxxxxx.
bool is_continuation(char byte)
{
	const unsigned char kContinuationMask = 0xc0;
	const unsigned char kContinuationBits = 0x80;
	return (static_cast<unsigned char>(byte) & kContinuationMask) == kContinuationBits;
}

} // namespace

size_t Utf8PrefixLength(const char* text, size_t length, size_t limit)
{
	if (length <= limit)
		return length;
	size_t cut = limit;
	while (cut > 0 && is_continuation(text[cut]))
		cut--;
	return cut;
}

void CopyUtf8(char* field, size_t capacity, const char* text, size_t length)
{
	size_t kept = Utf8PrefixLength(text, length, capacity);
	std::memcpy(field, text, kept);
	std::memset(field + kept, 0, capacity + 1 - kept);
}

} // namespace kit
