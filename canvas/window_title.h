// The picture's name that the canvas keeps, and the main window's title made from it.
#pragma once

#include <cstddef>

// Room for the picture's name, and for the window title, with the terminator.
const size_t kTitleSize = 64;

// Copies text into title's buffer, shortening it at a character boundary if it is too long.
void set_title(char (&title)[kTitleSize], const char* text);

// Formats "name[WxH]" into title, shortening the name (at a character boundary) so that
// the size always fits.
void format_window_title(char (&title)[kTitleSize], const char* name, int width, int height);
