#include "option_parser.h"

#include <cstring>

namespace {

const option_spec* find_long(const std::vector<option_spec>& options, const std::string& name)
{
	for (const option_spec& option : options) {
		if (name == option.name)
			return &option;
	}
	return nullptr;
}

const option_spec* find_short(const std::vector<option_spec>& options, char letter)
{
	for (const option_spec& option : options) {
		if (option.letter != '\0' && option.letter == letter)
			return &option;
	}
	return nullptr;
}

} // namespace

bool looks_like_option(const std::string& argument)
{
	return argument.size() > 1 && argument[0] == '-';
}

bool parse_options(int argc, char** argv, const std::vector<option_spec>& options,
	unknown_options unknown, const option_handler& handle, std::vector<std::string>* operands,
	std::string* error)
{
	for (int i = 1; i < argc; i++) {
		const std::string argument = argv[i] != nullptr ? argv[i] : "";
		if (argument == "--") {
			for (i++; i < argc; i++)
				operands->push_back(argv[i] != nullptr ? argv[i] : "");
			break;
		}
		if (!looks_like_option(argument)) {
			operands->push_back(argument);
			continue;
		}

		// "--name", "--name=value", "-x", "-xvalue".
		const bool isLong = argument[1] == '-';
		const option_spec* option = nullptr;
		std::string written;
		const char* attached = nullptr;
		if (isLong) {
			const size_t equals = argument.find('=');
			written = argument.substr(0, equals);
			option = find_long(options, written.substr(2));
			if (equals != std::string::npos)
				attached = argv[i] + equals + 1;
		} else {
			written = argument.substr(0, 2);
			option = find_short(options, argument[1]);
			if (argument.size() > 2)
				attached = argv[i] + 2;
		}
		if (option == nullptr) {
			if (unknown == unknown_options::ARE_OPERANDS) {
				operands->push_back(argument);
				continue;
			}
			*error = "unknown option '" + written + "'";
			return false;
		}
		// A short option without a value takes nothing glued to it.
		if (!option->takes_value && attached != nullptr) {
			if (!isLong && unknown == unknown_options::ARE_OPERANDS) {
				operands->push_back(argument);
				continue;
			}
			*error = "option '" + written + "' takes no value";
			return false;
		}
		const char* value = attached;
		if (option->takes_value && value == nullptr) {
			if (i + 1 >= argc) {
				*error = "option '" + written + "' needs a value";
				return false;
			}
			value = argv[++i];
		}
		if (!handle(option->code, value, error))
			return false;
	}
	return true;
}

std::string program_name(const char* argv0)
{
	if (argv0 == nullptr || *argv0 == '\0')
		return "dorva";
	const char* slash = std::strrchr(argv0, '/');
	return slash != nullptr ? slash + 1 : argv0;
}
