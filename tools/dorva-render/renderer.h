// Lays the calendar over one picture after another with the calendar's own composition,
// the one the window's canvas draws, and writes each result: an image through the
// translator roster, or a PDF page.
#pragma once

#include <string>

#include "calendar_value.h"
#include "output_names.h"
#include "render_options.h"

class BBitmap;
class BView;

// What a failed file operation says, in a few words: the system's own where it gave a
// reason ("No space left on device").
std::string failure_reason(status_t status);

// Draws the view, which the call takes and deletes, whole into the bitmap (made to accept
// views).
void draw_whole(BBitmap* bitmap, BView* view);

// The calendar of the options: the default attributes with the options' colours, fonts and
// band over them, and the dates given.
calendar_value calendar_of_options(const render_options& options, const calendar_settings& dates);

class calendar_renderer {
public:
	// The calendar of the options: the default attributes with the options' colours, fonts
	// and band over them, and the dates given. Needs the kit running (off screen) and the
	// translator roster set (tr).
	calendar_renderer(const render_options& options, const calendar_settings& dates);
	~calendar_renderer();

	// Reads the picture, draws the calendar over it and writes the result to path, which is
	// replaced whole only once the result is complete. False, with a one-line reason.
	bool render(const std::string& picture, const std::string& path, const output_format& format,
		std::string* error);

private:
	bool _write_image(
		BBitmap* picture, const std::string& path, const std::string& mime, std::string* error);
	bool _write_pdf(
		BBitmap* picture, const std::string& path, const std::string& name, std::string* error);

	calendar_value fValue;
	std::string fPage;
};
