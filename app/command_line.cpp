#include "command_line.h"

#include "option_parser.h"

namespace {

enum : int {
	OPTION_HELP = OPTION_FIRST_FREE,
	OPTION_VERSION,
};

} // namespace

command_line read_command_line(int argc, char** argv)
{
	command_line line;
	std::vector<option> options = calendar_option_table();
	options.push_back({"help", no_argument, nullptr, OPTION_HELP});
	options.push_back({"version", no_argument, nullptr, OPTION_VERSION});

	auto handle = [&line](int code, const char* value, std::string* error) {
		switch (code) {
			case OPTION_HELP:
				line.action = command_line::HELP;
				return true;
			case OPTION_VERSION:
				// --help wins over --version, wherever each stands.
				if (line.action != command_line::HELP)
					line.action = command_line::VERSION;
				return true;
			default:
				return read_calendar_option(code, value, &line.calendar, error);
		}
	};
	if (!parse_options(argc, argv, "", options, handle, &line.files, &line.error))
		line.action = command_line::BAD;
	return line;
}

void print_usage(std::FILE* stream, const std::string& program)
{
	std::fprintf(stream,
		"Usage: %s [OPTION]... [FILE]...\n"
		"Lay a calendar over a picture. The first FILE that holds a picture is shown.\n"
		"\n"
		"%s"
		"  --help                show this help and end\n"
		"  --version             show the program's version and end\n"
		"  --                    every argument after it is a file name\n",
		program.c_str(), kCalendarOptionsUsage);
}
