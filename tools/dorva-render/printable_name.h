// Names as dorva-render prints them: a file name may hold any byte but '/' and NUL, and
// printed raw an escape sequence in it would steer the terminal, a newline forge a line.
#pragma once

#include <string>

// The text with every control character (C0, DEL, C1) written as an escape (\n, \t, \x1b,
// \u009b) and every byte that is not part of valid UTF-8 as \xNN; all else as it is.
std::string printable_name(const std::string& text);
