// Shortening UTF-8 text to fit a buffer without leaving half a character behind. Every
// place in the program that cuts a name to size uses these.
#pragma once

#include <cstddef>
#include <string_view>

// The length of text cut to at most limit bytes: the whole text when it fits, else the
// longest prefix that ends at a character boundary.
size_t utf8_cut(std::string_view text, size_t limit);

// Copies text, cut to at most capacity bytes as utf8_cut cuts it, into to, which has room
// for capacity bytes and the terminator.
void copy_utf8_cut(char* to, size_t capacity, std::string_view text);
