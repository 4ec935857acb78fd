// dorva-render's command line: the calendar's options (as dorva takes them), the six
// colours and two fonts of the configuration window, the page of a PDF, the pictures and
// the output.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Font.h"
#include "calendar_options.h"

// The papers a PDF can be laid out on, as the print job names them.
const std::vector<std::string>& known_papers();

// The wall calendar's choices (--layout wall): a cover and a page per month.
struct wall_choices {
	std::string language;            // --lang; empty: the locale's (LC_TIME, LANG)
	bool week_numbers = false;       // --week-numbers
	std::vector<std::string> events; // --events FILE.ics, repeatable
	std::optional<uint32> event_col; // --event-color
	bool landscape = false;          // --orientation
	float bleed_mm = 0;              // --bleed MM
	bool crop_marks = false;         // --crop-marks
	float binding_mm = 0;            // --binding MM
	bool fit = false;                // --fit: photos whole instead of cropped to their frame
	int start_month = 1;             // --start-month M
	int dpi = 300;                   // --dpi N, for pages written as images
	bool mark_photo_date = false;    // --mark-photo-date
};

struct render_options {
	enum action_kind { RENDER, HELP, VERSION, BAD };
	action_kind action = RENDER;
	std::string error;

	calendar_options calendar;
	// Colours as the configuration window reads them; unset keeps the canvas's default.
	std::optional<uint32> bg_col, month_col, week_col, sun_col, sat_col, holy_col;
	// Fonts as the configuration window's menus label them, "Family(Style)"; empty keeps the
	// plain font.
	std::string month_font, day_font;
	// The paper of a PDF; empty for the locale's.
	std::string page;

	// --layout wall; with band (the default) the calendar is laid over each picture.
	bool wall = false;
	wall_choices wall_page;
	// The first option given that only the wall layout takes, for the message that refuses
	// it without --layout wall.
	std::string wall_only_option;

	std::vector<std::string> pictures;
	std::string output;
};

// Reads the command line. Besides refusing bad options and values (BAD, with a one-line
// error), it asks for at least one picture and an output.
render_options read_render_options(int argc, char** argv);

void print_render_usage(std::FILE* stream);
