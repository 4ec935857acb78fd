// Reading a command line: long options spelled out in full, with their values as
// "--name value" or "--name=value", short options with theirs as "-o value" or "-ovalue",
// options and operands in any order, and "--" ending the options. Nothing is abbreviated:
// "--ver" is not "--version". Shared by dorva and dorva-render.
#pragma once

#include <functional>
#include <string>
#include <vector>

// One option: its long name (without "--"), whether it takes a value, the code the handler
// gets, and its letter for a short form, if it has one.
struct option_spec {
	const char* name;
	bool takes_value;
	int code;
	char letter = '\0';
};

// Takes one option's code and value (null for an option without one); false, with a
// one-line message in error, for a value it refuses.
using option_handler = std::function<bool(int code, const char* value, std::string* error)>;

// What becomes of an argument that looks like an option but is none of ours.
enum class unknown_options {
	REFUSED,     // the command line is bad
	ARE_OPERANDS // it is an operand like any other (a file named "-x.png")
};

// Reads argv[1] to argv[argc - 1]. The operands (every argument that is no option, and all
// after "--") are appended to operands in their order. False, with a one-line message, for
// a missing value, a value given to an option that takes none, an unknown option where those
// are refused, or when handle refuses a value.
bool parse_options(int argc, char** argv, const std::vector<option_spec>& options,
	unknown_options unknown, const option_handler& handle, std::vector<std::string>* operands,
	std::string* error);

// Whether an argument looks like an option: it starts with '-' and is more than "-".
bool looks_like_option(const std::string& argument);

// The last part of a program's path: what its messages start with.
std::string program_name(const char* argv0);
