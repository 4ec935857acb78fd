// Lays the calendar over one picture after another with the canvas's own drawing, and
// writes each result: an image through the translator roster, or a PDF page.
#pragma once

#include <string>

#include "output_names.h"
#include "render_options.h"

class BBitmap;
class dorvaview;

class calendar_renderer {
public:
	// Makes the canvas, then gives the calendar's attributes the options' colours, fonts and
	// band over the canvas's defaults. The calendar's settings (cal) are the caller's.
	// Needs the kit running (off screen) and the translator roster set (tr).
	explicit calendar_renderer(const render_options& options);
	~calendar_renderer();

	// Reads the picture, draws the canvas with it and writes the result to path, which is
	// replaced whole only once the result is complete. False, with a one-line reason.
	bool render(const std::string& picture, const std::string& path, const output_format& format,
		std::string* error);

private:
	BBitmap* _load(const std::string& picture, std::string* error);
	bool _write_image(
		BBitmap* picture, const std::string& path, const std::string& mime, std::string* error);
	bool _write_pdf(
		BBitmap* picture, const std::string& path, const std::string& name, std::string* error);
	void _show(BBitmap* picture);

	dorvaview* fCanvas;
	std::string fPage;
};
