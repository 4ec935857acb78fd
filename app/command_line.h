// dorva's command line: the calendar's options, --help, --version, and file names.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "calendar_options.h"

struct command_line {
	enum action_kind {
		RUN,     // open the window, with the files
		HELP,    // print the usage and end
		VERSION, // print the version and end
		BAD,     // print error and the usage on standard error, end with status 2
	};
	action_kind action = RUN;
	calendar_options calendar;
	// Every argument that is none of the options (a file named "-x.png" or "--foo" too),
	// and every one after "--", in order.
	std::vector<std::string> files;
	std::string error;
};

command_line read_command_line(int argc, char** argv);

// The files that look like options but name nothing: most likely a mistyped option, which
// the program mentions before it goes on.
std::vector<std::string> files_like_options(const command_line& line);

// The usage text, starting with the program's name as called.
void print_usage(std::FILE* stream, const std::string& program);

// The exit status for a command line that cannot be run.
const int kUsageExitStatus = 2;
