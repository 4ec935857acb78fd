// The content lines of an iCalendar text: folded lines joined, each split into its name,
// the parameters the holiday reader needs, and its value.
#pragma once

#include <string>

// One content line: "NAME;PARAM=x;...:value".
struct content_line {
	std::string name;  // in capitals
	std::string tzid;  // the TZID parameter, unquoted; empty without one
	std::string type;  // the VALUE parameter in capitals ("DATE", "PERIOD"); empty without one
	std::string value; // after the first ':' outside quotes
	int parameters = 0;
};

// Splits a line into out; false when it has no name followed by ';' or ':'. At most
// max_parameters are taken apart; out->parameters says how many there were, up to one
// more than that.
bool split_content_line(const std::string& line, int max_parameters, content_line* out);

// Hands out the content lines of a text one by one, with folded lines joined (a line that
// begins with a space or a tab continues the one before it) and the number of the line
// each starts on. Blank lines are passed over.
class content_lines {
public:
	static const size_t kMaxLineLength = 64 * 1024; // after unfolding

	explicit content_lines(const std::string& text);

	// False at the end of the text, or with a reason when a line cannot be taken.
	bool next(std::string* line, int* number, std::string* reason);

private:
	void take_physical(std::string* out);

	const std::string& fText;
	size_t fPosition = 0;
	int fLine = 0;
};
