// The wall calendar: a cover and a page for each of twelve months, each with a photo, laid
// out and drawn by the calendar's composition (wall_layout.h, wall_page.h) and written as
// one PDF for a print shop or as one image per page.
#pragma once

#include <string>

#include "calendar_value.h"
#include "render_options.h"

// Writes the calendar that the options ask for, telling its progress and every fault on
// standard error. The exit status: 0 when everything was written, 1 when a picture or the
// output failed, 2 for a choice that cannot be served (a language without locale data, an
// events file that cannot be read, an output that names no format).
int render_wall_calendar(const render_options& options, const calendar_value& value);
