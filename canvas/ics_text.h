// The text values of iCalendar files (an event's SUMMARY) made fit to show on one line.
#pragma once

#include <cstddef>
#include <string>

// The value with its escapes undone (\\ \; \, and \n or \N for a line break; a backslash
// before anything else is dropped), then made one line of valid UTF-8: line breaks and tabs
// become spaces, other control characters (U+0000 to U+001F, U+007F to U+009F) are removed,
// each byte that is no part of a well-formed UTF-8 sequence becomes U+FFFD, runs of spaces
// become one and the ends are trimmed; last, it is cut to at most limit bytes at the end of
// a character.
std::string ics_text_line(const std::string& value, size_t limit);
