#include "FieldParser.h"

#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "BusProtocol.h"

namespace dorva_send {

namespace {

using kit::bus::field_type;

bool parse_integer(const std::string& text, int64_t low, int64_t high, int64_t* value,
	std::string* error)
{
	const char* begin = text.data();
	const char* end = begin + text.size();
	// from_chars takes no '+'; a leading one is allowed on the command line.
	if (begin != end && *begin == '+')
		begin++;
	int64_t parsed = 0;
	auto [stop, result] = std::from_chars(begin, end, parsed);
	if (text.empty() || result == std::errc::invalid_argument || stop != end
		|| (begin != text.data() && begin != end && *begin == '-')) {
		*error = "'" + text + "' is not a whole number";
		return false;
	}
	if (result == std::errc::result_out_of_range || parsed < low || parsed > high) {
		*error = text + " is out of range (" + std::to_string(low) + " to "
			+ std::to_string(high) + ")";
		return false;
	}
	*value = parsed;
	return true;
}

bool parse_float(const std::string& text, double* value, std::string* error)
{
	// strtod would also read hexadecimal floats and skip leading blanks; the text must be
	// a plain decimal number, whole.
	bool plain = !text.empty();
	for (char c : text) {
		if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e'
				|| c == 'E'))
			plain = false;
	}
	char* stop = nullptr;
	errno = 0;
	double parsed = plain ? std::strtod(text.c_str(), &stop) : 0;
	if (!plain || stop != text.c_str() + text.size()) {
		*error = "'" + text + "' is not a number";
		return false;
	}
	if (errno == ERANGE || !std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX) {
		*error = text + " is out of the range of a float";
		return false;
	}
	*value = parsed;
	return true;
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

bool parse_path(const std::string& text, const std::string& workingDirectory,
	std::string* value, std::string* error)
{
	if (text.empty()) {
		*error = "a ref needs a path";
		return false;
	}
	std::filesystem::path path(text);
	if (path.is_relative())
		path = std::filesystem::path(workingDirectory) / path;
	std::string normal = path.lexically_normal().string();
	while (normal.size() > 1 && normal.back() == '/')
		normal.pop_back();
	if (normal.empty() || normal[0] != '/') {
		*error = "cannot make '" + text + "' an absolute path";
		return false;
	}
	if (normal.size() > kit::bus::kMaxPathBytes) {
		*error = "the path is longer than " + std::to_string(kit::bus::kMaxPathBytes)
			+ " bytes";
		return false;
	}
	*value = normal;
	return true;
}

} // namespace

bool parse_field(const std::string& argument, const std::string& workingDirectory,
	wire_field* field, std::string* error)
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

	wire_field parsed;
	parsed.name = argument.substr(0, equals);
	parsed.type = argument.substr(equals + 1, colon - equals - 1);
	const std::string text = argument.substr(colon + 1);
	if (parsed.name.empty())
		return fail("the name is empty");
	if (parsed.name.size() > kit::bus::kMaxFieldNameBytes)
		return fail("the name is longer than " + std::to_string(kit::bus::kMaxFieldNameBytes)
			+ " bytes");

	field_type type;
	if (!kit::bus::field_type_from_name(parsed.type, &type)) {
		return fail("unknown type '" + parsed.type
			+ "' (known: int8, int16, int32, float, bool, string, ref)");
	}

	bool good = false;
	switch (type) {
		case field_type::int8:
		case field_type::int16:
		case field_type::int32: {
			int64_t low = type == field_type::int8 ? INT8_MIN
				: type == field_type::int16 ? INT16_MIN : INT32_MIN;
			int64_t high = type == field_type::int8 ? INT8_MAX
				: type == field_type::int16 ? INT16_MAX : INT32_MAX;
			int64_t value = 0;
			good = parse_integer(text, low, high, &value, &reason);
			parsed.value = value;
			break;
		}
		case field_type::float32: {
			double value = 0;
			good = parse_float(text, &value, &reason);
			parsed.value = value;
			break;
		}
		case field_type::boolean: {
			bool value = false;
			good = parse_bool(text, &value, &reason);
			parsed.value = value;
			break;
		}
		case field_type::string:
			good = text.size() <= kit::bus::kMaxStringBytes;
			if (!good)
				reason = "the string is longer than "
					+ std::to_string(kit::bus::kMaxStringBytes) + " bytes";
			parsed.value = text;
			break;
		case field_type::ref: {
			std::string path;
			good = parse_path(text, workingDirectory, &path, &reason);
			parsed.value = path;
			break;
		}
	}
	if (!good)
		return fail(reason);
	*field = std::move(parsed);
	return true;
}

bool check_message_code(const std::string& text, std::string* error)
{
	if (kit::bus::is_valid_message_code(text))
		return true;
	*error = "the message code '" + text + "' is not four characters from ' ' to '~'"
		+ " (like ficl or fiwr)";
	return false;
}

} // namespace dorva_send
