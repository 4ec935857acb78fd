// dorva-render: lays dorva's calendar over pictures and writes the results, as images or as
// PDF pages, without a display. The canvas's own drawing makes them, so each result is what
// dorva's window shows for that picture with the same options.
#include <cstdio>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Font.h"
#include "OffscreenPlatform.h"
#include "TranslatorRoster.h"
#include "font_label.h"
#include "input_files.h"
#include "output_names.h"
#include "printable_name.h"
#include "program_name.h"
#include "progress.h"
#include "render_options.h"
#include "renderer.h"
#include "tr.h"
#include "wall_renderer.h"

namespace {

// Every picture written; some could not be; a bad command line or holiday file.
enum { kAllWritten = 0, kSomeFailed = 1, kBadUsage = 2 };

int usage_error(const std::string& what)
{
	std::fprintf(stderr, "dorva-render: %s\n", printable_name(what).c_str());
	print_render_usage(stderr);
	return kBadUsage;
}

// A font named as the font menus label it must be installed.
bool font_installed(const std::string& label)
{
	font_family family;
	font_style style;
	split_font_label(label.c_str(), &family, &style);
	BFont font;
	return font.SetFamilyAndStyle(family, style[0] != '\0' ? style : nullptr) == B_OK;
}

} // namespace

int main(int argc, char** argv)
{
	render_options options = read_render_options(argc, argv);
	switch (options.action) {
		case render_options::HELP:
			print_render_usage(stdout);
			return kAllWritten;
		case render_options::VERSION:
			std::printf("dorva-render %s\n", kProgramVersion);
			return kAllWritten;
		case render_options::BAD:
			return usage_error(options.error);
		case render_options::RENDER:
			break;
	}
	if (options.calendar.list_holidays)
		return print_holiday_sets(stdout, stderr, "dorva-render");
	std::string refused;
	if (!check_holiday_sets(options.calendar, &refused)) {
		std::fprintf(stderr, "dorva-render: %s\n", refused.c_str());
		return kBadUsage;
	}
	output_plan plan;
	std::string error;
	if (!options.wall && !plan.set(options.output, options.pictures.size(), &error))
		return usage_error(error);

	// No display is needed, nor looked for.
	use_offscreen_platform();
	tr = BTranslatorRoster::Default();
	if (tr == nullptr) {
		std::fprintf(stderr, "dorva-render: this system offers no image formats\n");
		return kSomeFailed;
	}
	for (const std::string* label : {&options.month_font, &options.day_font}) {
		if (!label->empty() && !font_installed(*label))
			return usage_error("no installed font '" + *label + "' (write it as FAMILY(STYLE))");
	}
	// What was left out of the holiday files is told; a file that cannot be read at all
	// stops the run.
	calendar_settings dates;
	std::vector<std::string> errors;
	const bool calendarSet = apply_calendar_options(options.calendar, &dates, &errors);
	for (const std::string& line : errors)
		std::fprintf(stderr, "dorva-render: %s\n", printable_name(line).c_str());
	if (!calendarSet)
		return kBadUsage;
	if (options.wall)
		return render_wall_calendar(options, calendar_of_options(options, dates));

	// No result is ever written over a picture of this run, by whatever name it is reached.
	input_files inputs;
	for (const std::string& picture : options.pictures)
		inputs.add(picture);

	calendar_renderer renderer(options, dates);
	progress_report progress(options.pictures.size());
	std::set<std::string> outputs;
	int failures = 0;
	for (size_t i = 0; i < options.pictures.size(); i++) {
		const std::string& picture = options.pictures[i];
		progress.starting(i, picture);
		const std::string path = plan.path_for(picture);
		std::optional<output_format> format = plan.format_for(picture);
		std::string why;
		if (!format)
			why = "'" + path + "' has no extension of an output format";
		else if (inputs.contains(path))
			why = "the output '" + path + "' is one of the pictures; not written over";
		else if (!outputs.insert(path).second)
			why = "the output '" + path + "' was written for an earlier picture; not written over";
		if (why.empty() && renderer.render(picture, path, *format, &why)) {
			progress.written(picture, path);
			continue;
		}
		progress.failed(picture, why);
		failures++;
	}
	progress.finish();
	return failures == 0 ? kAllWritten : kSomeFailed;
}
