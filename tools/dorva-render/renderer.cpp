#include "renderer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "AppFileInfo.h"
#include "BitmapStream.h"
#include "Directory.h"
#include "File.h"
#include "PrintJob.h"
#include "calendar_attributes.h"
#include "calm_edge.h"
#include "dorvaview.h"
#include "font_label.h"
#include "output_catalogue.h"
#include "pic.h"
#include "tr.h"

namespace {

// The catalogue's type code for a MIME type; 0 when no translator writes it.
uint32 type_for_mime(const std::string& mime)
{
	for (int32 i = 0; i < trc; i++) {
		auto* format = static_cast<s_xlt*>(xlt.ItemAt(i));
		if (format != nullptr && mime == format->mime)
			return format->type;
	}
	return 0;
}

std::string parent_of(const std::string& path)
{
	std::string parent = std::filesystem::path(path).parent_path().string();
	return parent.empty() ? "." : parent;
}

std::string leaf_of(const std::string& path)
{
	return std::filesystem::path(path).filename().string();
}

// What a failed file operation says.
std::string reason(status_t status)
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
		default:
			return "error " + std::to_string(status);
	}
}

// The permissions a newly made file gets.
mode_t new_file_mode()
{
	mode_t mask = umask(0);
	umask(mask);
	return 0666 & ~mask;
}

} // namespace

calendar_renderer::calendar_renderer(const render_options& options)
	: fCanvas(new dorvaview(BRect(0, 0, 0, 0))), fPage(options.page)
{
	fill_output_catalogue();
	// The canvas's constructor has just given atr its defaults.
	struct {
		const std::optional<uint32>& given;
		uint32& field;
	} colors[] = {
		{options.bg_col, atr.bg_col},
		{options.month_col, atr.month_col},
		{options.week_col, atr.week_col},
		{options.sun_col, atr.sun_col},
		{options.sat_col, atr.sat_col},
		{options.holy_col, atr.holy_col},
	};
	for (auto& color : colors) {
		if (color.given)
			color.field = *color.given;
	}
	if (!options.month_font.empty())
		split_font_label(options.month_font.c_str(), &atr.month_family, &atr.month_style);
	if (!options.day_font.empty())
		split_font_label(options.day_font.c_str(), &atr.day_family, &atr.day_style);
	apply_band_option(options.calendar);
}

calendar_renderer::~calendar_renderer()
{
	delete fCanvas;
	free_output_catalogue();
}

BBitmap* calendar_renderer::_load(const std::string& picture, std::string* error)
{
	BFile file(picture.c_str(), B_READ_ONLY);
	if (file.InitCheck() != B_OK) {
		*error = "cannot be opened: " + reason(file.InitCheck());
		return nullptr;
	}
	BBitmapStream stream;
	status_t status = tr->Translate(&file, nullptr, nullptr, &stream, B_TRANSLATOR_BITMAP);
	BBitmap* decoded = nullptr;
	if (status == B_OK)
		status = stream.DetachBitmap(&decoded);
	if (status != B_OK || decoded == nullptr) {
		*error = "holds no picture that dorva can read";
		return nullptr;
	}
	return decoded;
}

// The canvas takes the picture's size and shows it, as the window's canvas does once the
// window is fitted to a picture.
void calendar_renderer::_show(BBitmap* picture)
{
	BRect bounds = picture->Bounds();
	fCanvas->ResizeTo(bounds.Width(), bounds.Height());
	fCanvas->image = picture;
	pic = bounds;
	place_band_for_picture(picture);
}

bool calendar_renderer::render(const std::string& picture, const std::string& path,
	const output_format& format, std::string* error)
{
	BBitmap* decoded = _load(picture, error);
	if (decoded == nullptr)
		return false;
	bool written = format.pdf ? _write_pdf(decoded, path, leaf_of(picture), error)
							  : _write_image(decoded, path, format.mime, error);
	fCanvas->image = nullptr;
	delete decoded;
	return written;
}

bool calendar_renderer::_write_image(
	BBitmap* picture, const std::string& path, const std::string& mime, std::string* error)
{
	uint32 type = type_for_mime(mime);
	if (type == 0) {
		*error = "this system has no translator that writes " + mime;
		return false;
	}
	// The canvas draws into a bitmap of the picture's size, exactly as into its window.
	BBitmap composed(picture->Bounds(), B_RGB32, true);
	if (!composed.IsValid()) {
		*error = "too large to draw: " + reason(composed.InitCheck());
		return false;
	}
	_show(picture);
	composed.AddChild(fCanvas);
	composed.Lock();
	fCanvas->Draw(fCanvas->Bounds());
	fCanvas->Sync();
	composed.Unlock();
	composed.RemoveChild(fCanvas);

	BDirectory folder(parent_of(path).c_str());
	BFile file;
	status_t status = folder.InitCheck();
	if (status == B_OK)
		status = folder.CreateFile(leaf_of(path).c_str(), &file);
	if (status != B_OK) {
		*error = "cannot write " + path + ": " + reason(status);
		return false;
	}
	BBitmapStream stream(&composed);
	status = tr->Translate(&stream, nullptr, nullptr, &file, type);
	BBitmap* back = nullptr;
	stream.DetachBitmap(&back);
	if (status == B_OK) {
		BAppFileInfo info(&file);
		info.SetType(mime.c_str());
		status = file.Commit();
	}
	if (status != B_OK) {
		*error = "cannot write " + path + ": " + reason(status);
		return false;
	}
	return true;
}

bool calendar_renderer::_write_pdf(
	BBitmap* picture, const std::string& path, const std::string& name, std::string* error)
{
	// The page is printed into a file beside the final one, which replaces it only when the
	// page is complete.
	std::string temporary = parent_of(path) + "/." + leaf_of(path) + ".XXXXXX";
	int descriptor = mkstemp(temporary.data());
	if (descriptor < 0) {
		*error = "cannot write " + path + ": " + std::strerror(errno);
		return false;
	}
	fchmod(descriptor, new_file_mode());
	close(descriptor);

	_show(picture);
	BRect bounds = picture->Bounds();
	auto* settings = new BMessage;
	settings->AddString("file", temporary.c_str());
	if (!fPage.empty())
		settings->AddString("paper", fPage.c_str());
	settings->AddInt32(
		"orientation", bounds.Width() > bounds.Height() ? B_PRINT_LANDSCAPE : B_PRINT_PORTRAIT);
	settings->AddInt32("scale", B_PRINT_SCALE_FIT_TO_PAGE);

	BPrintJob job(name.c_str());
	bool printed = job.SetSettings(settings) == B_OK;
	if (printed) {
		job.BeginJob();
		job.DrawView(fCanvas, fCanvas->Bounds(), BPoint(0, 0));
		job.SpoolPage();
		job.CommitJob();
		printed = job.CanContinue();
	}
	if (!printed || std::rename(temporary.c_str(), path.c_str()) != 0) {
		*error = "cannot write " + path + (printed ? std::string(": ") + std::strerror(errno) : "");
		unlink(temporary.c_str());
		return false;
	}
	return true;
}
