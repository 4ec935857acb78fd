// Calls that no kit sender makes, for testing that a message endpoint refuses them: fields
// of unknown types, values of the wrong D-Bus type (bytes among them), the wrong arguments.
// The program never uses it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "SupportDefs.h"

class BMessage;

namespace kit::testing {

// A list of strings (D-Bus "as"): a value of a kind no field type takes.
using BusStrings = std::vector<std::string>;

// A value as it goes on the wire: a D-Bus byte (y), int16 (n), uint16 (q), int32 (i),
// uint32 (u), int64 (x), uint64 (t), double (d), boolean (b), string (s) or list of
// strings (as).
using BusValue = std::variant<uint8_t, int16_t, uint16_t, int32_t, uint32_t, int64_t, uint64_t,
	double, bool, std::string, BusStrings>;

// One (name, type, value) of the a(ssv) fields, written just as given.
struct BusField {
	std::string name;
	std::string type;
	BusValue value;
};

// Calls method ("SendMessage", ...) of the endpoint that owns busName with (what, fields).
// The status and *error are what a BRemoteMessenger would give for the answer. With reply,
// an answer that carries a message is read into it as a BRemoteMessenger reads a reply (a
// malformed one gives B_BAD_DATA).
status_t CallEndpoint(const std::string& busName, const char* method, const std::string& what,
	const std::vector<BusField>& fields, std::string* error, BMessage* reply = nullptr);

// Calls method with one string argument and nothing else.
status_t CallEndpointWithText(
	const std::string& busName, const char* method, const std::string& text, std::string* error);

} // namespace kit::testing
