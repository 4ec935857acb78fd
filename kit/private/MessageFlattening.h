// The flat forms of what a message holds as bytes. Only the kit reads them, and it checks
// every length before it trusts one.
//   A message (a field of B_MESSAGE_TYPE): its code, the number of fields, then per field
//   the name, the type and the values, each value and the name preceded by its length.
//   Numbers are 32-bit words in the machine's own byte order.
//   An entry_ref (a field of B_REF_TYPE): "directory\0name\0", neither part holding a NUL.
#pragma once

#include <vector>

#include "EntryRef.h"

class BMessage;

namespace kit {

class MessageFlattening {
public:
	static std::vector<char> Flatten(const BMessage& message);
	// false, with message left as it was, when the bytes are not a whole flat message.
	static bool Unflatten(const char* data, size_t size, BMessage* message);
};

std::vector<char> FlattenRef(const entry_ref& ref);
// false, with ref left as it was, when the bytes are not a flat entry_ref.
bool UnflattenRef(const std::vector<char>& bytes, entry_ref* ref);

} // namespace kit
