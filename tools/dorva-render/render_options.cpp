#include "render_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "color_scan.h"
#include "option_parser.h"

namespace {

enum : int {
	OPTION_BG_COLOR = OPTION_FIRST_FREE,
	OPTION_MONTH_COLOR,
	OPTION_WEEKDAY_COLOR,
	OPTION_SUNDAY_COLOR,
	OPTION_SATURDAY_COLOR,
	OPTION_HOLIDAY_COLOR,
	OPTION_MONTH_FONT,
	OPTION_DAY_FONT,
	OPTION_PAGE,
	OPTION_LAYOUT,
	OPTION_LANG,
	OPTION_WEEK_NUMBERS,
	OPTION_EVENTS,
	OPTION_EVENT_COLOR,
	OPTION_ORIENTATION,
	OPTION_BLEED,
	OPTION_CROP_MARKS,
	OPTION_BINDING,
	OPTION_FIT,
	OPTION_START_MONTH,
	OPTION_DPI,
	OPTION_MARK_PHOTO_DATE,
	OPTION_HELP,
	OPTION_VERSION,
	OPTION_OUTPUT = 'o',
};

const char kUsage[] =
	"Usage: dorva-render [OPTION]... PICTURE... -o OUTPUT\n"
	"Lay dorva's calendar over each PICTURE and write the result to OUTPUT, a file whose\n"
	"extension gives the format (.png, .jpg, .jpeg, .tif, .tiff, .webp, .bmp or .pdf).\n"
	"With several pictures OUTPUT is a directory, where each picture's result keeps its\n"
	"name (and its format, or else PNG), or a name holding %%n, which stands for the\n"
	"picture's name without its extension (%%%% for a %%).\n"
	"\n"
	"%s"
	"  --bg-color AARRGGBB   the band's colour, its opacity first (default 80000000)\n"
	"  --month-color RRGGBB  the month numbers' colour (default 00ff00)\n"
	"  --weekday-color RRGGBB, --sunday-color RRGGBB, --saturday-color RRGGBB,\n"
	"  --holiday-color RRGGBB\n"
	"                        the dates' colours (default 000000, ff0000, 0000ff, ff0000)\n"
	"  --month-font 'FAMILY(STYLE)', --day-font 'FAMILY(STYLE)'\n"
	"                        an installed font, written as dorva's font menus show it,\n"
	"                        for example 'DejaVu Sans(Bold)' (default the plain font)\n"
	"  --page a4|letter|a3|tabloid\n"
	"                        the paper of a PDF (default the locale's paper); the picture\n"
	"                        is fitted to the page, turned to suit its shape\n"
	"  --layout band|wall    band (the default): the calendar over each picture; wall: a\n"
	"                        wall calendar, a cover and a page for each month, each with\n"
	"                        the next picture (used in turn; a directory stands for its\n"
	"                        pictures in name order), as one PDF or one image a page\n"
	"                        (OUTPUT holding %%n, the page's number, or a directory)\n"
	"\n"
	"The wall calendar's options (on the locale's paper, portrait, without them):\n"
	"  --lang LANGUAGE       the names of months, weekdays and holidays (de, fr, ja, pt_BR;\n"
	"                        default the locale's); weeks start as the language's do\n"
	"                        unless --week-start says otherwise\n"
	"  --week-numbers        ISO 8601 week numbers beside the grid\n"
	"  --events FILE.ics     personal dates (birthdays, anniversaries), marked and named\n"
	"                        under the grid; repeatable\n"
	"  --event-color RRGGBB  their colour (default 0a8f5a)\n"
	"  --orientation portrait|landscape\n"
	"  --bleed MM            the photos run MM past the trim, 0 to 20 (default 0); the PDF's\n"
	"                        pages carry a TrimBox and a BleedBox\n"
	"  --crop-marks          the trim marked at the corners, outside the bleed\n"
	"  --binding MM          room kept free at the top of each page, 0 to 50 (default 0)\n"
	"  --fit                 each photo shown whole instead of cropped to its frame\n"
	"  --start-month M       the first month, 1 to 12 (default 1); the calendar runs on\n"
	"                        into the next year\n"
	"  --dpi N               the resolution of pages written as images, 30 to 600\n"
	"                        (default 300)\n"
	"  --mark-photo-date     circle the day each photo was taken (its EXIF date) on its\n"
	"                        month's page\n"
	"\n"
	"  -o, --output OUTPUT   where the results go\n"
	"  --help                show this help and end\n"
	"  --version             show the program's version and end\n"
	"  --                    every argument after it is a picture\n"
	"\n"
	"Exit status: 0 when every picture was written, 1 when some could not be, 2 for a\n"
	"bad command line or a holiday file that cannot be read.\n";

// A decimal number in [least, most], the whole value.
bool read_number(const char* value, double least, double most, double* number)
{
	char* end = nullptr;
	errno = 0;
	const double read = std::strtod(value, &end);
	if (end == value || *end != '\0' || errno != 0 || !(read >= least && read <= most))
		return false;
	*number = read;
	return true;
}

bool read_wall_option(int code, const char* value, render_options* options, std::string* error)
{
	wall_choices& wall = options->wall_page;
	struct named {
		int code;
		const char* name;
	};
	static const named kNames[] = {{OPTION_LANG, "--lang"}, {OPTION_WEEK_NUMBERS, "--week-numbers"},
		{OPTION_EVENTS, "--events"}, {OPTION_EVENT_COLOR, "--event-color"},
		{OPTION_ORIENTATION, "--orientation"}, {OPTION_BLEED, "--bleed"},
		{OPTION_CROP_MARKS, "--crop-marks"}, {OPTION_BINDING, "--binding"}, {OPTION_FIT, "--fit"},
		{OPTION_START_MONTH, "--start-month"}, {OPTION_DPI, "--dpi"},
		{OPTION_MARK_PHOTO_DATE, "--mark-photo-date"}};
	std::string name;
	for (const named& entry : kNames) {
		if (entry.code == code)
			name = entry.name;
	}
	if (options->wall_only_option.empty())
		options->wall_only_option = name;
	const std::string given = value != nullptr ? value : "";
	auto refuse = [&](const std::string& why) {
		*error = name + ": '" + given + "' " + why;
		return false;
	};
	double number = 0;
	switch (code) {
		case OPTION_LANG:
			if (given.empty() || given.size() > 32
				|| given.find_first_not_of("abcdefghijklmnopqrstuvwxyz"
										   "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.@")
					!= std::string::npos)
				return refuse("is no language code (de, fr, pt_BR)");
			wall.language = given;
			return true;
		case OPTION_WEEK_NUMBERS:
			wall.week_numbers = true;
			return true;
		case OPTION_EVENTS:
			if (given.empty())
				return refuse("names no file");
			wall.events.push_back(given);
			return true;
		case OPTION_EVENT_COLOR: {
			uint32 color = 0;
			if (!scan_color(value, &color))
				return refuse("is not a hexadecimal colour");
			wall.event_col = color;
			return true;
		}
		case OPTION_ORIENTATION:
			if (given != "portrait" && given != "landscape")
				return refuse("is neither portrait nor landscape");
			wall.landscape = given == "landscape";
			return true;
		case OPTION_BLEED:
			if (!read_number(value, 0, 20, &number))
				return refuse("is not a number of millimetres from 0 to 20");
			wall.bleed_mm = float(number);
			return true;
		case OPTION_CROP_MARKS:
			wall.crop_marks = true;
			return true;
		case OPTION_BINDING:
			if (!read_number(value, 0, 50, &number))
				return refuse("is not a number of millimetres from 0 to 50");
			wall.binding_mm = float(number);
			return true;
		case OPTION_FIT:
			wall.fit = true;
			return true;
		case OPTION_START_MONTH:
			if (!read_number(value, 1, 12, &number) || number != std::floor(number))
				return refuse("is not a month from 1 to 12");
			wall.start_month = int(number);
			return true;
		case OPTION_DPI:
			if (!read_number(value, 30, 600, &number) || number != std::floor(number))
				return refuse("is not a whole number from 30 to 600");
			wall.dpi = int(number);
			return true;
		case OPTION_MARK_PHOTO_DATE:
			wall.mark_photo_date = true;
			return true;
		default:
			return refuse("is not understood");
	}
}

} // namespace

const std::vector<std::string>& known_papers()
{
	static const std::vector<std::string> papers = {"a4", "letter", "a3", "tabloid"};
	return papers;
}

render_options read_render_options(int argc, char** argv)
{
	render_options options;
	std::vector<option_spec> table = calendar_option_table();
	const std::vector<option_spec> own = {
		{"bg-color", true, OPTION_BG_COLOR},
		{"month-color", true, OPTION_MONTH_COLOR},
		{"weekday-color", true, OPTION_WEEKDAY_COLOR},
		{"sunday-color", true, OPTION_SUNDAY_COLOR},
		{"saturday-color", true, OPTION_SATURDAY_COLOR},
		{"holiday-color", true, OPTION_HOLIDAY_COLOR},
		{"month-font", true, OPTION_MONTH_FONT},
		{"day-font", true, OPTION_DAY_FONT},
		{"page", true, OPTION_PAGE},
		{"layout", true, OPTION_LAYOUT},
		{"lang", true, OPTION_LANG},
		{"week-numbers", false, OPTION_WEEK_NUMBERS},
		{"events", true, OPTION_EVENTS},
		{"event-color", true, OPTION_EVENT_COLOR},
		{"orientation", true, OPTION_ORIENTATION},
		{"bleed", true, OPTION_BLEED},
		{"crop-marks", false, OPTION_CROP_MARKS},
		{"binding", true, OPTION_BINDING},
		{"fit", false, OPTION_FIT},
		{"start-month", true, OPTION_START_MONTH},
		{"dpi", true, OPTION_DPI},
		{"mark-photo-date", false, OPTION_MARK_PHOTO_DATE},
		{"output", true, OPTION_OUTPUT, 'o'},
		{"help", false, OPTION_HELP},
		{"version", false, OPTION_VERSION},
	};
	table.insert(table.end(), own.begin(), own.end());

	auto color = [](const char* name, const char* value, std::optional<uint32>* field,
					 std::string* error) {
		uint32 read = 0;
		if (!scan_color(value, &read)) {
			*error = std::string("--") + name + ": '" + value + "' is not a hexadecimal colour";
			return false;
		}
		*field = read;
		return true;
	};
	auto handle = [&](int code, const char* value, std::string* error) {
		switch (code) {
			case OPTION_BG_COLOR:
				return color("bg-color", value, &options.bg_col, error);
			case OPTION_MONTH_COLOR:
				return color("month-color", value, &options.month_col, error);
			case OPTION_WEEKDAY_COLOR:
				return color("weekday-color", value, &options.week_col, error);
			case OPTION_SUNDAY_COLOR:
				return color("sunday-color", value, &options.sun_col, error);
			case OPTION_SATURDAY_COLOR:
				return color("saturday-color", value, &options.sat_col, error);
			case OPTION_HOLIDAY_COLOR:
				return color("holiday-color", value, &options.holy_col, error);
			case OPTION_MONTH_FONT:
				options.month_font = value;
				return true;
			case OPTION_DAY_FONT:
				options.day_font = value;
				return true;
			case OPTION_PAGE:
				for (const std::string& paper : known_papers()) {
					if (paper == value) {
						options.page = value;
						return true;
					}
				}
				*error =
					std::string("--page: '") + value + "' is none of a4, letter, a3 and tabloid";
				return false;
			case OPTION_LAYOUT:
				if (std::strcmp(value, "band") != 0 && std::strcmp(value, "wall") != 0) {
					*error = std::string("--layout: '") + value + "' is neither band nor wall";
					return false;
				}
				options.wall = std::strcmp(value, "wall") == 0;
				return true;
			case OPTION_OUTPUT:
				if (*value == '\0') {
					*error = "--output: the name is empty";
					return false;
				}
				options.output = value;
				return true;
			case OPTION_HELP:
				options.action = render_options::HELP;
				return true;
			case OPTION_VERSION:
				if (options.action != render_options::HELP)
					options.action = render_options::VERSION;
				return true;
			default:
				if (code >= OPTION_LANG && code <= OPTION_MARK_PHOTO_DATE)
					return read_wall_option(code, value, &options, error);
				return read_calendar_option(code, value, &options.calendar, error);
		}
	};
	if (!parse_options(argc, argv, table, unknown_options::REFUSED, handle, &options.pictures,
			&options.error)) {
		options.action = render_options::BAD;
		return options;
	}
	if (options.action != render_options::RENDER || options.calendar.list_holidays)
		return options;
	if (!options.wall && !options.wall_only_option.empty()) {
		options.action = render_options::BAD;
		options.error = options.wall_only_option + ": only with --layout wall";
		return options;
	}
	if (options.pictures.empty()) {
		options.action = render_options::BAD;
		options.error = "no picture given";
	} else if (options.output.empty()) {
		options.action = render_options::BAD;
		options.error = "no output given (-o OUTPUT)";
	}
	return options;
}

void print_render_usage(std::FILE* stream)
{
	std::fprintf(stream, kUsage, kCalendarOptionsUsage);
}
