#include "renderer.h"

#include <filesystem>
#include <memory>

#include "Directory.h"
#include "File.h"
#include "PrintJob.h"
#include "calendar_composition.h"
#include "calm_edge.h"
#include "font_label.h"
#include "output_catalogue.h"
#include "picture_files.h"

namespace {

std::string parent_of(const std::string& path)
{
	std::string parent = std::filesystem::path(path).parent_path().string();
	return parent.empty() ? "." : parent;
}

std::string leaf_of(const std::string& path)
{
	return std::filesystem::path(path).filename().string();
}

} // namespace

std::string failure_reason(status_t status)
{
	switch (status) {
		case B_ENTRY_NOT_FOUND:
			return "no such file or directory";
		case B_PERMISSION_DENIED:
			return "permission denied";
		case B_IS_A_DIRECTORY:
			return "is a directory";
		case B_NO_MEMORY:
			return "too large to hold in memory";
		case B_NO_TRANSLATOR:
			return "no picture that dorva can read";
		default: {
			// The system's own words where it gave a reason ("No space left on device").
			const char* text = status_text(status);
			return text != nullptr ? text : "error " + std::to_string(status);
		}
	}
}

void draw_whole(BBitmap* bitmap, BView* view)
{
	bitmap->AddChild(view);
	bitmap->Lock();
	view->Draw(view->Bounds());
	view->Sync();
	bitmap->Unlock();
	bitmap->RemoveChild(view);
	delete view;
}

calendar_value calendar_of_options(const render_options& options, const calendar_settings& dates)
{
	calendar_value value;
	value.dates = dates;
	calendar_attributes& attributes = value.attributes;
	struct {
		const std::optional<uint32>& given;
		uint32& field;
	} colors[] = {
		{options.bg_col, attributes.bg_col},
		{options.month_col, attributes.month_col},
		{options.week_col, attributes.week_col},
		{options.sun_col, attributes.sun_col},
		{options.sat_col, attributes.sat_col},
		{options.holy_col, attributes.holy_col},
	};
	for (auto& color : colors) {
		if (color.given)
			color.field = *color.given;
	}
	if (!options.month_font.empty())
		split_font_label(
			options.month_font.c_str(), &attributes.month_family, &attributes.month_style);
	if (!options.day_font.empty())
		split_font_label(options.day_font.c_str(), &attributes.day_family, &attributes.day_style);
	apply_band_option(options.calendar, &attributes);
	return value;
}

calendar_renderer::calendar_renderer(const render_options& options, const calendar_settings& dates)
	: fValue(calendar_of_options(options, dates)), fPage(options.page)
{
	fill_output_catalogue();
}

calendar_renderer::~calendar_renderer()
{
	free_output_catalogue();
}

bool calendar_renderer::render(const std::string& picture, const std::string& path,
	const output_format& format, std::string* error)
{
	BFile file(picture.c_str(), B_READ_ONLY);
	if (file.InitCheck() != B_OK) {
		*error = "cannot be opened: " + failure_reason(file.InitCheck());
		return false;
	}
	BBitmap* decoded = nullptr;
	if (read_picture(&file, &decoded) != B_OK) {
		*error = "holds no picture that dorva can read";
		return false;
	}
	std::unique_ptr<BBitmap> owned(decoded);
	place_band_for_picture(decoded, fValue.dates, &fValue.attributes);
	return format.pdf ? _write_pdf(decoded, path, leaf_of(picture), error)
					  : _write_image(decoded, path, format.mime, error);
}

bool calendar_renderer::_write_image(
	BBitmap* picture, const std::string& path, const std::string& mime, std::string* error)
{
	uint32 type = catalogue_type_for(mime.c_str());
	if (type == 0) {
		*error = "this system has no translator that writes " + mime;
		return false;
	}
	// The picture and its calendar are drawn into a bitmap of the picture's size, exactly
	// as the window's canvas draws them.
	BBitmap composed(picture->Bounds(), B_RGB32, true);
	if (!composed.IsValid()) {
		*error = "too large to draw: " + failure_reason(composed.InitCheck());
		return false;
	}
	draw_whole(&composed, new calendar_composition(picture, fValue));

	BDirectory folder(parent_of(path).c_str());
	status_t status = folder.InitCheck();
	if (status == B_OK)
		status = write_picture(&composed, &folder, leaf_of(path).c_str(), type, mime.c_str());
	if (status != B_OK) {
		*error = "cannot write " + path + ": " + failure_reason(status);
		return false;
	}
	return true;
}

bool calendar_renderer::_write_pdf(
	BBitmap* picture, const std::string& path, const std::string& name, std::string* error)
{
	calendar_composition view(picture, fValue);
	BRect bounds = picture->Bounds();
	auto* settings = new BMessage;
	// The job writes the page beside the final name and puts it in place only when all of
	// it is on the disk.
	settings->AddString("file", path.c_str());
	if (!fPage.empty())
		settings->AddString("paper", fPage.c_str());
	settings->AddInt32(
		"orientation", bounds.Width() > bounds.Height() ? B_PRINT_LANDSCAPE : B_PRINT_PORTRAIT);
	settings->AddInt32("scale", B_PRINT_SCALE_FIT_TO_PAGE);

	BPrintJob job(name.c_str());
	status_t status = job.SetSettings(settings);
	if (status == B_OK) {
		job.BeginJob();
		job.DrawView(&view, view.Bounds(), BPoint(0, 0));
		job.SpoolPage();
		job.CommitJob();
		status = job.Status();
	}
	if (status != B_OK) {
		*error = "cannot write " + path + ": " + failure_reason(status);
		return false;
	}
	return true;
}
