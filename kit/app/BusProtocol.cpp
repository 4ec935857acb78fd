#include "BusProtocol.h"

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <vector>

#include "Message.h"
#include "TypeConstants.h"

namespace kit::bus {

const char kInterfaceName[] = "x_vnd.Vesk.MessageTarget";
const char kSendMessageMethod[] = "SendMessage";
const char kSendMessageWithReplyMethod[] = "SendMessageWithReply";
const char kErrorInvalidMessage[] = "x_vnd.Vesk.MessageTarget.Error.InvalidMessage";
const char kErrorNoTarget[] = "x_vnd.Vesk.MessageTarget.Error.NoTarget";
const char kErrorNoReply[] = "x_vnd.Vesk.MessageTarget.Error.NoReply";
const char kErrorTimeout[] = "x_vnd.Vesk.MessageTarget.Error.Timeout";
const char kErrorInvalidReply[] = "x_vnd.Vesk.MessageTarget.Error.InvalidReply";

namespace {

const size_t kMaxElementLength = 60;

struct type_name {
	field_type type;
	const char* name;
	type_code code;
};

const type_name kTypeNames[] = {
	{field_type::int8, "int8", B_INT8_TYPE},
	{field_type::int16, "int16", B_INT16_TYPE},
	{field_type::int32, "int32", B_INT32_TYPE},
	{field_type::float32, "float", B_FLOAT_TYPE},
	{field_type::boolean, "bool", B_BOOL_TYPE},
	{field_type::string, "string", B_STRING_TYPE},
	{field_type::ref, "ref", B_REF_TYPE},
};

bool is_element_character(char c)
{
	return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::vector<std::string> split(const std::string& text, char separator)
{
	std::vector<std::string> parts;
	std::string part;
	for (char c : text) {
		if (c == separator) {
			parts.push_back(part);
			part.clear();
		} else {
			part += c;
		}
	}
	parts.push_back(part);
	return parts;
}

void add_element(std::vector<std::string>& elements, std::string element)
{
	for (char& c : element) {
		if (!is_element_character(c))
			c = '_';
	}
	if (element.empty())
		return;
	if (element[0] >= '0' && element[0] <= '9')
		element.insert(element.begin(), '_');
	// The bus allows 255 characters in all; no signature needs elements longer than this.
	if (element.size() > kMaxElementLength)
		element.resize(kMaxElementLength);
	elements.push_back(element);
}

} // namespace

const char* field_type_name(field_type type)
{
	for (const type_name& entry : kTypeNames) {
		if (entry.type == type)
			return entry.name;
	}
	return "";
}

bool field_type_from_name(const std::string& name, field_type* type)
{
	for (const type_name& entry : kTypeNames) {
		if (name == entry.name) {
			*type = entry.type;
			return true;
		}
	}
	return false;
}

std::string check_field_type(const std::string& name, field_type* type)
{
	if (field_type_from_name(name, type))
		return "";
	std::string known;
	for (const type_name& entry : kTypeNames)
		known += std::string(known.empty() ? "" : ", ") + entry.name;
	return "unknown type '" + name + "' (known: " + known + ")";
}

type_code type_code_of(field_type type)
{
	for (const type_name& entry : kTypeNames) {
		if (entry.type == type)
			return entry.code;
	}
	return 0;
}

bool field_type_of(type_code code, field_type* type)
{
	for (const type_name& entry : kTypeNames) {
		if (entry.code == code) {
			*type = entry.type;
			return true;
		}
	}
	return false;
}

std::string check_field_name(const std::string& name)
{
	if (name.empty())
		return "the name is empty";
	if (name.size() > kMaxFieldNameBytes)
		return "the name is longer than " + std::to_string(kMaxFieldNameBytes) + " bytes";
	return "";
}

std::string check_integer(field_type type, int64 value, const std::string& text, bool tooLarge)
{
	int64 low = INT32_MIN;
	int64 high = INT32_MAX;
	if (type == field_type::int8) {
		low = INT8_MIN;
		high = INT8_MAX;
	} else if (type == field_type::int16) {
		low = INT16_MIN;
		high = INT16_MAX;
	}
	if (!tooLarge && value >= low && value <= high)
		return "";
	return text + " is out of range (" + std::to_string(low) + " to " + std::to_string(high) + ")";
}

std::string check_float(double value, const std::string& text)
{
	if (std::isfinite(value) && std::fabs(value) <= FLT_MAX)
		return "";
	return text + " is out of the range of a float";
}

std::string check_string(const std::string& text)
{
	if (text.size() <= kMaxStringBytes)
		return "";
	return "the string is longer than " + std::to_string(kMaxStringBytes) + " bytes";
}

std::string check_path(const std::string& path)
{
	if (path.empty() || path[0] != '/')
		return "a ref must be an absolute path, not '" + path + "'";
	if (path.size() > kMaxPathBytes)
		return "the path is longer than " + std::to_string(kMaxPathBytes) + " bytes";
	return "";
}

status_t add_integer(BMessage* message, const char* name, field_type type, int64 value)
{
	switch (type) {
		case field_type::int8:
			return message->AddInt8(name, int8(value));
		case field_type::int16:
			return message->AddInt16(name, int16(value));
		case field_type::int32:
			return message->AddInt32(name, int32(value));
		default:
			return B_BAD_TYPE;
	}
}

status_t find_integer(
	const BMessage& message, const char* name, field_type type, int32 index, int64* value)
{
	status_t status = B_BAD_TYPE;
	switch (type) {
		case field_type::int8: {
			int8 integer = 0;
			status = message.FindInt8(name, index, &integer);
			*value = integer;
			break;
		}
		case field_type::int16: {
			int16 integer = 0;
			status = message.FindInt16(name, index, &integer);
			*value = integer;
			break;
		}
		case field_type::int32: {
			int32 integer = 0;
			status = message.FindInt32(name, index, &integer);
			*value = integer;
			break;
		}
		default:
			break;
	}
	return status;
}

std::string tidy_path(const std::string& path)
{
	std::string normal = std::filesystem::path(path).lexically_normal().string();
	while (normal.size() > 1 && normal.back() == '/')
		normal.pop_back();
	return normal;
}

entry_ref ref_from_path_text(const std::string& path)
{
	if (path == "/")
		return entry_ref("/", ".");
	size_t slash = path.rfind('/');
	if (slash == std::string::npos)
		return entry_ref();
	return entry_ref(slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1));
}

std::string bus_name_for_signature(const std::string& signature)
{
	size_t slash = signature.find('/');
	std::string subtype = slash == std::string::npos ? signature : signature.substr(slash + 1);

	std::vector<std::string> elements;
	std::vector<std::string> dotted = split(subtype, '.');
	for (size_t i = 0; i < dotted.size(); i++) {
		if (i == 0) {
			add_element(elements, dotted[i]);
			continue;
		}
		for (const std::string& part : split(dotted[i], '-'))
			add_element(elements, part);
	}
	if (elements.empty())
		elements.push_back("unnamed");
	if (elements.size() < 2)
		elements.insert(elements.begin(), "x_vnd");

	std::string name;
	for (const std::string& element : elements) {
		if (!name.empty())
			name += '.';
		name += element;
	}
	// The bus allows 255 characters; cutting at an element boundary keeps the name valid.
	while (name.size() > 255)
		name.erase(name.rfind('.'));
	return name;
}

std::string object_path_for_bus_name(const std::string& busName)
{
	std::string path = "/" + busName;
	for (char& c : path) {
		if (c == '.')
			c = '/';
	}
	return path;
}

bool is_valid_message_code(const std::string& text)
{
	if (text.size() != 4)
		return false;
	for (char c : text) {
		if (c < ' ' || c > '~')
			return false;
	}
	return true;
}

std::string check_message_code(const std::string& text)
{
	if (is_valid_message_code(text))
		return "";
	return "the message code '" + text + "' is not four characters from ' ' to '~'";
}

bool message_code_from_text(const std::string& text, uint32* code)
{
	if (!is_valid_message_code(text))
		return false;
	*code = (uint32(uint8(text[0])) << 24) | (uint32(uint8(text[1])) << 16)
		| (uint32(uint8(text[2])) << 8) | uint32(uint8(text[3]));
	return true;
}

std::string message_code_text(uint32 code)
{
	return std::string{char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
}

} // namespace kit::bus
