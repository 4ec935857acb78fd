#include "window_title.h"

#include <cstdio>
#include <cstring>

#include "utf8_cut.h"

void set_title(char (&title)[kTitleSize], const char* text)
{
	copy_utf8_cut(title, kTitleSize - 1, text);
}

void format_window_title(char (&title)[kTitleSize], const char* name, int width, int height)
{
	char size[32];
	std::snprintf(size, sizeof(size), "[%dx%d]", width, height);
	size_t sizeLength = std::strlen(size);
	size_t nameLength = utf8_cut(name, kTitleSize - 1 - sizeLength);
	std::memcpy(title, name, nameLength);
	std::memcpy(title + nameLength, size, sizeLength + 1);
}
