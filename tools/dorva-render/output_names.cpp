#include "output_names.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "output_catalogue.h"

namespace {

// The name's extension, without its dot, in lower case; "" for none.
std::string extension_of(const std::string& name)
{
	std::string leaf = std::filesystem::path(name).filename().string();
	size_t dot = leaf.rfind('.');
	if (dot == std::string::npos || dot == 0)
		return "";
	std::string extension = leaf.substr(dot + 1);
	std::transform(extension.begin(), extension.end(), extension.begin(),
		[](unsigned char c) { return char(std::tolower(c)); });
	return extension;
}

// The picture's file name without its directories and its last extension.
std::string base_name(const std::string& picture)
{
	std::filesystem::path leaf = std::filesystem::path(picture).filename();
	std::string stem = leaf.stem().string();
	return stem.empty() ? leaf.string() : stem;
}

const char kPatternMark[] = "%n";

} // namespace

std::optional<output_format> format_for_name(const std::string& name)
{
	const std::string extension = extension_of(name);
	output_format found;
	if (extension == "pdf") {
		found.pdf = true;
		return found;
	}
	const char* mime = output_mime_for_extension(extension.c_str());
	if (mime == nullptr)
		return std::nullopt;
	found.mime = mime;
	return found;
}

bool output_plan::set(const std::string& output, size_t pictureCount, std::string* error)
{
	fOutput = output;
	std::error_code ignored;
	if (output.find(kPatternMark) != std::string::npos) {
		fKind = PATTERN;
		if (!format_for_name(path_for("picture"))) {
			*error = "'" + output + "' does not end in an extension of an output format"
				" (.png, .jpg, .tif, .webp, .bmp, .pdf)";
			return false;
		}
		return true;
	}
	if (std::filesystem::is_directory(output, ignored)) {
		fKind = DIRECTORY;
		return true;
	}
	if (!output.empty() && output.back() == '/') {
		*error = "no such directory: " + output;
		return false;
	}
	fKind = ONE_FILE;
	if (pictureCount > 1) {
		*error = "several pictures need a directory or a name holding %n as the output, not '"
			+ output + "'";
		return false;
	}
	if (!format_for_name(output)) {
		// A leaf that is only an extension (out/.png) names no file: a name starting with
		// a dot is a hidden file's whole name, not its extension.
		const std::string leaf = std::filesystem::path(output).filename().string();
		if (!leaf.empty() && leaf[0] == '.' && format_for_name("x" + leaf))
			*error = "'" + output + "' is only an extension: name the file, as in 'calendar" + leaf
				+ "'";
		else
			*error = "cannot tell the format from '" + output
				+ "': name it .png, .jpg, .jpeg, .tif, .tiff, .webp, .bmp or .pdf";
		return false;
	}
	return true;
}

std::string output_plan::path_for(const std::string& picture) const
{
	switch (fKind) {
		case ONE_FILE:
			return fOutput;
		case DIRECTORY: {
			// The picture's own name, if dorva-render writes its format; else PNG.
			std::string leaf = std::filesystem::path(picture).filename().string();
			std::optional<output_format> own = format_for_name(leaf);
			if (!own || own->pdf)
				leaf = base_name(picture) + ".png";
			return (std::filesystem::path(fOutput) / leaf).string();
		}
		case PATTERN: {
			std::string path;
			for (size_t i = 0; i < fOutput.size(); i++) {
				if (fOutput[i] == '%' && i + 1 < fOutput.size()) {
					if (fOutput[i + 1] == 'n') {
						path += base_name(picture);
						i++;
						continue;
					}
					if (fOutput[i + 1] == '%') {
						path += '%';
						i++;
						continue;
					}
				}
				path += fOutput[i];
			}
			return path;
		}
	}
	return fOutput;
}

std::optional<output_format> output_plan::format_for(const std::string& picture) const
{
	return format_for_name(path_for(picture));
}
