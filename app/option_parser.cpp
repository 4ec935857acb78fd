#include "option_parser.h"

#include <cstring>

namespace {

// The option as the user wrote it, where getopt stopped: a short option by its letter, a
// long one by the word before any "=value".
std::string written_option(char** argv, int index, int code)
{
	if (code > 0 && code < 128)
		return std::string("-") + char(code);
	if (index > 0 && argv[index - 1] != nullptr) {
		std::string word = argv[index - 1];
		return word.substr(0, word.find('='));
	}
	return "?";
}

} // namespace

bool parse_options(int argc, char** argv, const char* shortOptions,
	const std::vector<option>& options, const option_handler& handle,
	std::vector<std::string>* operands, std::string* error)
{
	std::vector<char*> arguments(argv, argv + argc);
	arguments.push_back(nullptr);
	std::vector<option> table = options;
	table.push_back(option{nullptr, 0, nullptr, 0});
	// A leading ':' makes getopt tell a missing value (':') from an unknown option ('?')
	// and print nothing itself.
	const std::string optstring = std::string(":") + shortOptions;

	// 0 starts getopt afresh, whatever an earlier reading left behind.
	optind = 0;
	opterr = 0;
	for (;;) {
		const int code =
			getopt_long(argc, arguments.data(), optstring.c_str(), table.data(), nullptr);
		if (code == -1)
			break;
		if (code == ':' || code == '?') {
			const std::string written =
				"'" + written_option(arguments.data(), optind, optopt) + "'";
			if (code == ':')
				*error = "option " + written + " needs a value";
			else if (optopt == 0)
				*error = "unknown or ambiguous option " + written;
			else if (optopt < 128 && std::strchr(shortOptions, optopt) == nullptr)
				*error = "unknown option " + written;
			else
				*error = "option " + written + " takes no value";
			return false;
		}
		if (!handle(code, optarg, error))
			return false;
	}
	for (int i = optind; i < argc; i++)
		operands->push_back(arguments[size_t(i)]);
	return true;
}

std::string program_name(const char* argv0)
{
	if (argv0 == nullptr || *argv0 == '\0')
		return "dorva";
	const char* slash = std::strrchr(argv0, '/');
	return slash != nullptr ? slash + 1 : argv0;
}
