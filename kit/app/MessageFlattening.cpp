#include "MessageFlattening.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "Message.h"

namespace kit {

std::vector<char> MessageFlattening::Flatten(const BMessage& message)
{
	std::vector<char> out;
	auto put32 = [&out](uint32 value) {
		const char* bytes = reinterpret_cast<const char*>(&value);
		out.insert(out.end(), bytes, bytes + sizeof(value));
	};
	put32(message.what);
	put32(uint32(message.fFields.size()));
	for (const BMessage::Field& field : message.fFields) {
		put32(uint32(field.name.size()));
		out.insert(out.end(), field.name.begin(), field.name.end());
		put32(field.type);
		put32(uint32(field.values.size()));
		for (const std::vector<char>& value : field.values) {
			put32(uint32(value.size()));
			out.insert(out.end(), value.begin(), value.end());
		}
	}
	return out;
}

bool MessageFlattening::Unflatten(const char* data, size_t size, BMessage* message)
{
	size_t at = 0;
	auto get32 = [&](uint32* value) {
		if (size - at < sizeof(uint32))
			return false;
		std::memcpy(value, data + at, sizeof(uint32));
		at += sizeof(uint32);
		return true;
	};
	auto getBytes = [&](uint32 length, std::string* text) {
		if (size - at < length)
			return false;
		text->assign(data + at, length);
		at += length;
		return true;
	};
	uint32 what, fieldCount;
	if (!get32(&what) || !get32(&fieldCount))
		return false;
	BMessage result(what);
	for (uint32 i = 0; i < fieldCount; i++) {
		uint32 nameLength, type, valueCount;
		std::string name;
		if (!get32(&nameLength) || !getBytes(nameLength, &name) || !get32(&type)
			|| !get32(&valueCount))
			return false;
		for (uint32 j = 0; j < valueCount; j++) {
			uint32 length;
			std::string value;
			if (!get32(&length) || !getBytes(length, &value))
				return false;
			if (result.AddData(name.c_str(), type, value.data(), ssize_t(value.size())) != B_OK)
				return false;
		}
	}
	*message = result;
	return true;
}

std::vector<char> FlattenRef(const entry_ref& ref)
{
	std::vector<char> bytes(ref.directory.begin(), ref.directory.end());
	bytes.push_back('\0');
	bytes.insert(bytes.end(), ref.name.begin(), ref.name.end());
	bytes.push_back('\0');
	return bytes;
}

bool UnflattenRef(const std::vector<char>& bytes, entry_ref* ref)
{
	// Exactly two terminators: one after the directory, and the last byte after the name.
	if (bytes.empty() || bytes.back() != '\0')
		return false;
	auto last = bytes.end() - 1;
	auto separator = std::find(bytes.begin(), last, '\0');
	if (separator == last || std::find(separator + 1, last, '\0') != last)
		return false;
	ref->directory.assign(bytes.begin(), separator);
	ref->name.assign(separator + 1, last);
	return true;
}

} // namespace kit
