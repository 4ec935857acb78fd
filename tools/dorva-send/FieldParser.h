// Reading the command line of dorva-send: a message code and fields written NAME=TYPE:VALUE.
// Everything a field can get wrong is caught here, before anything is sent, so that the user
// learns what to fix in words that name the argument.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace dorva_send {

// One field value as it travels on the bus: the type's name ("int16", "ref") and the value,
// an integer, a double, a bool or a text (strings and the absolute paths of refs).
struct wire_field {
	std::string name;
	std::string type;
	std::variant<int64_t, double, bool, std::string> value;
};

// Parses NAME=TYPE:VALUE. A ref's path is made absolute against workingDirectory and
// tidied ("a/../b" is "b"); the entry need not exist. On failure returns false with the
// reason in *error and leaves *field alone.
bool parse_field(const std::string& argument, const std::string& workingDirectory,
	wire_field* field, std::string* error);

// Whether text can be sent as a message code; *error says why not.
bool check_message_code(const std::string& text, std::string* error);

} // namespace dorva_send
