// Where dorva-render writes each result, and in which format: by OUTPUT's extension, in a
// directory under each picture's own name, or by a name holding %n.
#pragma once

#include <optional>
#include <string>

// A format dorva-render writes: an image through the translator roster (by MIME type), or
// a PDF through a print job.
struct output_format {
	std::string mime; // for an image
	bool pdf = false;
};

// The format that a file name's extension (in any case) stands for; none for an extension
// that is no output format.
std::optional<output_format> format_for_name(const std::string& name);

class output_plan {
public:
	// Reads OUTPUT for this many pictures: a directory (one that exists, or a name ending
	// in '/'), a name holding %n, or else the name of one file. False, with a one-line
	// message, when it cannot serve them: several pictures for one file, a directory that is
	// not there, or a name whose extension is no output format.
	bool set(const std::string& output, size_t pictureCount, std::string* error);

	// The result's path for a picture, and its format (none when the picture's name makes
	// a name without a format, which only a %n name can).
	std::string path_for(const std::string& picture) const;
	std::optional<output_format> format_for(const std::string& picture) const;

private:
	enum { ONE_FILE, DIRECTORY, PATTERN } fKind = ONE_FILE;
	std::string fOutput;
};
