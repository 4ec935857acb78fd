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

	std::vector<std::string> pictures;
	std::string output;
};

// Reads the command line. Besides refusing bad options and values (BAD, with a one-line
// error), it asks for at least one picture and an output.
render_options read_render_options(int argc, char** argv);

void print_render_usage(std::FILE* stream);
