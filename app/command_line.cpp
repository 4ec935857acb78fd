#include "command_line.h"

#include <sys/stat.h>

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
	std::vector<option_spec> options = calendar_option_table();
	options.push_back({"help", false, OPTION_HELP});
	options.push_back({"version", false, OPTION_VERSION});

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
	// Whatever is not one of these options is a file to open, "-x.png" and "--foo" too.
	if (!parse_options(
			argc, argv, options, unknown_options::ARE_OPERANDS, handle, &line.files, &line.error))
		line.action = command_line::BAD;
	return line;
}

std::vector<std::string> files_like_options(const command_line& line)
{
	std::vector<std::string> found;
	for (const std::string& file : line.files) {
		struct stat status;
		if (looks_like_option(file) && lstat(file.c_str(), &status) != 0)
			found.push_back(file);
	}
	return found;
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
