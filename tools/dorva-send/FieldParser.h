// Reading the command line of dorva-send: a message code and fields written NAME=TYPE:VALUE.
// Everything a field can get wrong is caught here, before anything is sent, so that the user
// learns what to fix in words that name the argument. The rules themselves (type names,
// ranges, limits, how a path is tidied) are the bus protocol's, shared with the endpoint.
#pragma once

#include <string>

#include "Message.h"

namespace dorva_send {

// Parses NAME=TYPE:VALUE and adds the value to *message. A ref's path is made absolute
// against workingDirectory and tidied ("a/../b" is "b"); the entry need not exist. A name
// given again adds a value, and must keep its type. On failure returns false with the
// reason in *error and leaves *message alone.
bool parse_field(const std::string& argument, const std::string& workingDirectory,
	BMessage* message, std::string* error);

// The message code written as four characters; false with *error saying why not.
bool parse_message_code(const std::string& text, uint32* code, std::string* error);

} // namespace dorva_send
