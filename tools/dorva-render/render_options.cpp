#include "render_options.h"

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
	"  --page a4|letter|a3   the paper of a PDF (default the locale's paper); the picture\n"
	"                        is fitted to the page, turned to suit its shape\n"
	"  -o, --output OUTPUT   where the results go\n"
	"  --help                show this help and end\n"
	"  --version             show the program's version and end\n"
	"  --                    every argument after it is a picture\n"
	"\n"
	"Exit status: 0 when every picture was written, 1 when some could not be, 2 for a\n"
	"bad command line or a holiday file that cannot be read.\n";

} // namespace

const std::vector<std::string>& known_papers()
{
	static const std::vector<std::string> papers = {"a4", "letter", "a3"};
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
				*error = std::string("--page: '") + value + "' is none of a4, letter and a3";
				return false;
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
