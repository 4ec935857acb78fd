// Reading a command line in the GNU style with getopt_long: long options with their values
// as "--name value" or "--name=value", unambiguous abbreviations, options and operands in
// any order, and "--" ending the options. Shared by dorva and dorva-render.
#pragma once

#include <getopt.h>

#include <functional>
#include <string>
#include <vector>

// Takes one option's code (its getopt_long value) and value (null for an option without
// one); false, with a one-line message in error, for a value it refuses.
using option_handler = std::function<bool(int code, const char* value, std::string* error)>;

// Reads argv (left as it is: getopt works on a copy). shortOptions is getopt's string of
// short options, without the leading ':' (which this adds). The operands (the arguments
// that are no options, and all after "--") are appended to operands in their order. False,
// with a one-line message, for an unknown or ambiguous option, a missing value or a value
// given to an option that takes none, or when handle refuses a value.
bool parse_options(int argc, char** argv, const char* shortOptions,
	const std::vector<option>& options, const option_handler& handle,
	std::vector<std::string>* operands, std::string* error);

// The last part of a program's path: what its messages start with.
std::string program_name(const char* argv0);
