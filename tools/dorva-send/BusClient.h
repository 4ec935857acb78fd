// Talking to a running program's message endpoint over the session bus (see the kit's
// BusProtocol.h). Each call waits for the program's answer, running the caller's event loop
// meanwhile, so a test may call a program that lives in its own process. A
// QCoreApplication (or QApplication) must exist.
#pragma once

#include <string>
#include <vector>

#include "FieldParser.h"

namespace dorva_send {

struct listed_format {
	int index;
	std::string name;
	std::string mime;
};

// Sends one message. Returns "" once the program has queued it, otherwise why it was not
// delivered: no session bus, the program not running, or the program's refusal.
std::string send_message(const std::string& busName, const std::string& what,
	const std::vector<wire_field>& fields);

// Asks the program for its export formats. Returns "" and fills *formats, or why not.
std::string list_output_formats(const std::string& busName,
	std::vector<listed_format>* formats);

} // namespace dorva_send
