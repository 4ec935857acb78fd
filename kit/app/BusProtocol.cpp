#include "BusProtocol.h"

#include <vector>

namespace kit::bus {

const char kInterfaceName[] = "x_vnd.Vesk.MessageTarget";
const char kSendMessageMethod[] = "SendMessage";
const char kListOutputFormatsMethod[] = "ListOutputFormats";
const char kErrorInvalidMessage[] = "x_vnd.Vesk.MessageTarget.Error.InvalidMessage";
const char kErrorNoTarget[] = "x_vnd.Vesk.MessageTarget.Error.NoTarget";

namespace {

const size_t kMaxElementLength = 60;

struct type_name {
	field_type type;
	const char* name;
};

const type_name kTypeNames[] = {
	{field_type::int8, "int8"},
	{field_type::int16, "int16"},
	{field_type::int32, "int32"},
	{field_type::float32, "float"},
	{field_type::boolean, "bool"},
	{field_type::string, "string"},
	{field_type::ref, "ref"},
};

bool is_element_character(char c)
{
	return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
		|| c == '_';
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

} // namespace kit::bus
