// Cutting UTF-8 text to fit a field of fixed size. A cut never splits a character: it
// happens before the first byte of one, never between a lead byte and the continuation
// bytes that follow it.
#pragma once

#include <cstddef>
#include <string>

namespace kit {

// The length of the longest start of text (length bytes) that has at most limit bytes and
// does not end inside a character.
size_t Utf8PrefixLength(const char* text, size_t length, size_t limit);

// Copies text into field, which holds capacity bytes of text and then a terminator, cut as
// above; the rest of the field is filled with zeros.
void CopyUtf8(char* field, size_t capacity, const char* text, size_t length);
inline void CopyUtf8(char* field, size_t capacity, const std::string& text)
{
	CopyUtf8(field, capacity, text.data(), text.size());
}

} // namespace kit
