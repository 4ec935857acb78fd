#include "FieldParser.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "BusProtocol.h"

namespace dorva_send {

namespace {

using kit::bus::field_type;

bool parse_integer(const std::string& text, field_type type, int64* value, std::string* error)
{
	const char* begin = text.data();
	const char* end = begin + text.size();
	// from_chars takes no '+'; a leading one is allowed on the command line.
	if (begin != end && *begin == '+')
		begin++;
	int64 parsed = 0;
	auto [stop, result] = std::from_chars(begin, end, parsed);
	if (text.empty() || result == std::errc::invalid_argument || stop != end
		|| (begin != text.data() && begin != end && *begin == '-')) {
		*error = "'" + text + "' is not a whole number";
		return false;
	}
	*error = kit::bus::check_integer(type, parsed, text, result == std::errc::result_out_of_range);
	*value = parsed;
	return error->empty();
}

bool parse_float(const std::string& text, float* value, std::string* error)
{
	// strtod would also read hexadecimal floats and skip leading blanks; the text must be
	// a plain decimal number, whole.
	bool plain = !text.empty();
	for (char c : text) {
		if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E'))
			plain = false;
	}
	char* stop = nullptr;
	errno = 0;
	double parsed = plain ? std::strtod(text.c_str(), &stop) : 0;
	if (!plain || stop != text.c_str() + text.size()) {
		*error = "'" + text + "' is not a number";
		return false;
	}
	// Too small to be told from zero is refused as well as too large.
	*error = kit::bus::check_float(errno == ERANGE ? HUGE_VAL : parsed, text);
	*value = float(parsed);
	return error->empty();
}

bool parse_bool(const std::string& text, bool* value, std::string* error)
{
	if (text == "true" || text == "1") {
		*value = true;
		return true;
	}
	if (text == "false" || text == "0") {
		*value = false;
		return true;
	}
	*error = "'" + text + "' is not a bool (true, false, 1 or 0)";
	return false;
}

bool parse_path(const std::string& text, const std::string& workingDirectory, entry_ref* ref,
	std::string* error)
{
	if (text.empty()) {
		*error = "a ref needs a path";
		return false;
	}
	std::filesystem::path path(text);
	if (path.is_relative())
		path = std::filesystem::path(workingDirectory) / path;
	std::string normal = kit::bus::tidy_path(path.string());
	if (normal.empty() || normal[0] != '/') {
		*error = "cannot make '" + text + "' an absolute path";
		return false;
	}
	*error = kit::bus::check_path(normal);
	*ref = kit::bus::ref_from_path_text(normal);
	return error->empty();
}

} // namespace

bool parse_field(const std::string& argument, const std::string& workingDirectory,
	BMessage* message, std::string* error)
{
	std::string reason;
	auto fail = [&](const std::string& why) {
		*error = "field '" + argument + "': " + why;
		return false;
	};

	size_t equals = argument.find('=');
	if (equals == std::string::npos)
		return fail("not NAME=TYPE:VALUE (no '=')");
	size_t colon = argument.find(':', equals + 1);
	if (colon == std::string::npos)
		return fail("not NAME=TYPE:VALUE (no ':' after the type)");

	const std::string name = argument.substr(0, equals);
	const std::string typeName = argument.substr(equals + 1, colon - equals - 1);
	const std::string text = argument.substr(colon + 1);
	reason = kit::bus::check_field_name(name);
	if (!reason.empty())
		return fail(reason);
	field_type type;
	reason = kit::bus::check_field_type(typeName, &type);
	if (!reason.empty())
		return fail(reason);
	type_code given = 0;
	field_type earlier;
	if (message->GetInfo(name.c_str(), &given) == B_OK && given != kit::bus::type_code_of(type)) {
		return fail("'" + name + "' is given as both "
			+ (kit::bus::field_type_of(given, &earlier) ? kit::bus::field_type_name(earlier)
														: "another type")
			+ " and " + typeName);
	}

	const char* key = name.c_str();
	status_t status = B_ERROR;
	switch (type) {
		case field_type::int8:
		case field_type::int16:
		case field_type::int32: {
			int64 value = 0;
			if (!parse_integer(text, type, &value, &reason))
				return fail(reason);
			status = kit::bus::add_integer(message, key, type, value);
			break;
		}
		case field_type::float32: {
			float value = 0;
			if (!parse_float(text, &value, &reason))
				return fail(reason);
			status = message->AddFloat(key, value);
			break;
		}
		case field_type::boolean: {
			bool value = false;
			if (!parse_bool(text, &value, &reason))
				return fail(reason);
			status = message->AddBool(key, value);
			break;
		}
		case field_type::string:
			reason = kit::bus::check_string(text);
			if (!reason.empty())
				return fail(reason);
			status = message->AddString(key, text);
			break;
		case field_type::ref: {
			entry_ref ref;
			if (!parse_path(text, workingDirectory, &ref, &reason))
				return fail(reason);
			status = message->AddRef(key, &ref);
			break;
		}
	}
	if (status != B_OK)
		return fail("the value could not be added to the message");
	return true;
}

bool parse_message_code(const std::string& text, uint32* code, std::string* error)
{
	if (kit::bus::message_code_from_text(text, code))
		return true;
	*error = kit::bus::check_message_code(text) + " (like ficl or fiwr)";
	return false;
}

} // namespace dorva_send
