#include "wall_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "DateFormat.h"
#include "Directory.h"
#include "File.h"
#include "Message.h"
#include "PrintJob.h"
#include "View.h"
#include "civil_date.h"
#include "ics_budget.h"
#include "input_files.h"
#include "named_days.h"
#include "output_catalogue.h"
#include "output_names.h"
#include "printable_name.h"
#include "progress.h"
#include "renderer.h"
#include "wall_layout.h"
#include "wall_page.h"
#include "wall_photos.h"

namespace {

enum { kAllWritten = 0, kSomeFailed = 1, kBadUsage = 2 };

const int kPages = 13;
// Photos are embedded at this resolution at most; under the lower one they are named.
const float kPrintResolution = 300;
const float kLowestGoodResolution = 200;
// The room for crop marks beyond the bleed.
const float kCropMarkRoom = 8.5f * kPointsPerMillimetre;

void complain(const std::string& line)
{
	std::fprintf(stderr, "dorva-render: %s\n", printable_name(line).c_str());
}

// The trimmed page's size in points as the print job lays the paper out: the one named,
// else the locale's (LC_PAPER), turned as asked. False when the job takes no such paper.
bool trim_of_paper(const std::string& paper, bool landscape, float* width, float* height)
{
	auto* settings = new BMessage;
	// The file is only a name: the job writes nothing before BeginJob().
	settings->AddString("file", "paper.pdf");
	if (!paper.empty())
		settings->AddString("paper", paper.c_str());
	settings->AddInt32("orientation", landscape ? B_PRINT_LANDSCAPE : B_PRINT_PORTRAIT);
	settings->AddFloat("bleed", 0);
	BPrintJob probe("paper");
	if (probe.SetSettings(settings) != B_OK)
		return false;
	const BRect trim = probe.TrimRect();
	*width = trim.Width() + 1;
	*height = trim.Height() + 1;
	return true;
}

// A view that draws one page by the function it is given.
class page_view : public BView {
public:
	page_view(BRect frame, std::function<void(BView*)> draw)
		: BView(frame, "page", B_FOLLOW_NONE, B_WILL_DRAW), fDraw(std::move(draw))
	{
	}
	void Draw(BRect) override { fDraw(this); }

private:
	std::function<void(BView*)> fDraw;
};

// The output's path for a page (1 for the cover): OUTPUT with %n for the page's number in
// two digits, or a file of that name in the directory OUTPUT.
std::string page_path(
	const std::string& output, bool directory, const std::string& extension, int page)
{
	char number[8];
	std::snprintf(number, sizeof(number), "%02d", page);
	if (directory)
		return (std::filesystem::path(output) / ("page-" + std::string(number) + extension))
			.string();
	std::string path;
	for (size_t i = 0; i < output.size(); i++) {
		if (output[i] == '%' && i + 1 < output.size()
			&& (output[i + 1] == 'n' || output[i + 1] == '%')) {
			path += output[i + 1] == 'n' ? std::string(number) : std::string("%");
			i++;
		} else {
			path += output[i];
		}
	}
	return path;
}

class wall_calendar {
public:
	wall_calendar(const render_options& options, const calendar_value& value)
		: fOptions(options), fChoices(options.wall_page), fValue(value)
	{
	}

	int run();

private:
	bool _read_names(std::string* error);
	bool _read_days(std::string* error);
	wall_style _style() const;
	wall_sheet _sheet() const;
	void _fill_month(int page, wall_month* month) const;
	bool _photo_for(int page, BRect frame, float resolution, page_photo* photo, std::string* error);
	std::function<void(BView*)> _drawing(int page, const page_photo& photo, float scale) const;
	int _write_pdf(const std::string& path);
	int _write_images(const output_format& format, bool directory);

	const render_options& fOptions;
	const wall_choices& fChoices;
	const calendar_value& fValue;
	std::vector<std::string> fPictures;
	std::unique_ptr<BDateFormat> fFormat;
	std::string fLanguage;
	week_start fStart = SUNDAY_FIRST;
	std::string fMonthNames[12];
	std::string fWeekdayNames[7];
	// The named days (holidays, then events) of the calendar's year and the next.
	std::vector<named_day> fHolidays[2];
	std::vector<named_day> fEvents[2];
	std::vector<std::string> fNotes;
	std::unique_ptr<progress_report> fProgress;
	input_files fInputs;
	bool fPdf = true;
	// The trimmed page, in points.
	float fTrimWidth = 0, fTrimHeight = 0;

	// Whether the output path is one of the run's inputs, by whatever name.
	bool _is_input(const std::string& path) const { return fInputs.contains(path); }
};

} // namespace

int wall_calendar::run()
{
	fPictures = pictures_of(fOptions.pictures);
	if (fPictures.empty()) {
		complain("'" + fOptions.pictures[0] + "' holds no picture");
		return kBadUsage;
	}
	if (fPictures.size() > size_t(kPages)) {
		complain("a calendar has " + std::to_string(kPages) + " pages: the last "
			+ std::to_string(fPictures.size() - kPages) + " of the "
			+ std::to_string(fPictures.size()) + " pictures are left out");
	}
	std::string error;
	if (!_read_names(&error) || !_read_days(&error)) {
		complain(error);
		return kBadUsage;
	}
	for (const std::string& note : fNotes)
		complain(note);
	if (!trim_of_paper(fOptions.page, fChoices.landscape, &fTrimWidth, &fTrimHeight)) {
		complain("--page: no paper '" + fOptions.page + "'");
		return kBadUsage;
	}

	// The output: one PDF, or an image for each page.
	std::error_code failure;
	const bool directory = std::filesystem::is_directory(fOptions.output, failure)
		|| (!fOptions.output.empty() && fOptions.output.back() == '/');
	std::optional<output_format> format =
		format_for_name(directory ? std::string("page.png") : fOptions.output);
	if (!format) {
		complain("'" + fOptions.output + "' has no extension of an output format");
		return kBadUsage;
	}
	if (!format->pdf && !directory && fOptions.output.find("%n") == std::string::npos) {
		complain("a wall calendar written as images needs %n (the page's number) in '"
			+ fOptions.output + "', or a directory");
		return kBadUsage;
	}
	// Nothing is written over a picture or a calendar file of this run.
	const std::vector<std::string>* inputs[] = {
		&fPictures, &fChoices.events, &fOptions.calendar.holidays};
	for (const std::vector<std::string>* files : inputs) {
		for (const std::string& file : *files)
			fInputs.add(file);
	}
	fProgress = std::make_unique<progress_report>(kPages);
	fPdf = format->pdf;
	const int status =
		format->pdf ? _write_pdf(fOptions.output) : _write_images(*format, directory);
	fProgress->finish();
	return status;
}

bool wall_calendar::_read_names(std::string* error)
{
	fFormat = std::make_unique<BDateFormat>(
		fChoices.language.empty() ? nullptr : fChoices.language.c_str());
	if (fFormat->InitCheck() != B_OK) {
		*error = "--lang: no locale data for '" + fChoices.language + "'";
		return false;
	}
	fLanguage = fChoices.language.empty() ? fFormat->Language() : fChoices.language;
	for (int month = 1; month <= 12; month++)
		fFormat->GetMonthName(month, fMonthNames[month - 1], B_LONG_DATE_FORMAT);
	for (int weekday = 0; weekday < 7; weekday++)
		fFormat->GetDayName(weekday, fWeekdayNames[weekday], B_LONG_DATE_FORMAT);
	// Weeks start as the language's do, unless the command line says otherwise; the
	// calendar knows three starts.
	fStart = fOptions.calendar.start;
	if (!fOptions.calendar.start_given) {
		const int first = fFormat->StartOfWeek();
		fStart = first == 0 ? SUNDAY_FIRST : first == 6 ? SATURDAY_FIRST : MONDAY_FIRST;
	}
	return true;
}

bool wall_calendar::_read_days(std::string* error)
{
	const int year = fValue.dates.year();
	const int years = fChoices.start_month == 1 ? 1 : 2;
	if (year + years - 1 > date_table::kLastYear) {
		*error =
			"--start-month: the calendar would run past " + std::to_string(date_table::kLastYear);
		return false;
	}
	std::vector<std::string> sources = fOptions.calendar.holidays;
	if (sources.empty())
		sources.push_back(kDefaultHolidays);
	for (int i = 0; i < years; i++) {
		if (!named_holidays(sources, year + i, fLanguage, &fHolidays[i], &fNotes, error))
			return false;
		ics_budget budget;
		for (const std::string& events : fChoices.events) {
			if (!read_ics_events(events, year + i, &budget, &fEvents[i], &fNotes, error))
				return false;
		}
	}
	return true;
}

wall_style wall_calendar::_style() const
{
	const calendar_attributes& attributes = fValue.attributes;
	wall_style style;
	style.text = attributes.week_col & 0xffffff;
	style.title = (fOptions.month_col ? *fOptions.month_col : attributes.week_col) & 0xffffff;
	style.sunday = attributes.sun_col & 0xffffff;
	style.saturday = attributes.sat_col & 0xffffff;
	style.holiday = attributes.holy_col & 0xffffff;
	if (fChoices.event_col)
		style.event = *fChoices.event_col & 0xffffff;
	std::copy(
		std::begin(attributes.month_family), std::end(attributes.month_family), style.title_family);
	std::copy(
		std::begin(attributes.month_style), std::end(attributes.month_style), style.title_style);
	std::copy(std::begin(attributes.day_family), std::end(attributes.day_family), style.day_family);
	std::copy(std::begin(attributes.day_style), std::end(attributes.day_style), style.day_style);
	style.crop_marks = fChoices.crop_marks;
	return style;
}

wall_sheet wall_calendar::_sheet() const
{
	wall_sheet sheet;
	sheet.width = fTrimWidth;
	sheet.height = fTrimHeight;
	sheet.bleed = fChoices.bleed_mm * kPointsPerMillimetre;
	sheet.slug = fChoices.crop_marks ? kCropMarkRoom : 0;
	sheet.binding = fChoices.binding_mm * kPointsPerMillimetre;
	return sheet;
}

// Page 1 is the cover, pages 2 to 13 the months from the start month on.
void wall_calendar::_fill_month(int page, wall_month* month) const
{
	const int index = fChoices.start_month - 1 + page - 2;
	const int yearIndex = index / 12;
	month->year = fValue.dates.year() + yearIndex;
	month->month = index % 12 + 1;
	month->start = fStart;
	month->week_numbers = fChoices.week_numbers;
	month->name = fMonthNames[month->month - 1];
	for (int weekday = 0; weekday < 7; weekday++)
		month->weekday_names[weekday] = fWeekdayNames[weekday];
	std::set<std::pair<int, std::string>> listed;
	for (const named_day& holiday : fHolidays[yearIndex]) {
		if (holiday.month != month->month)
			continue;
		month->holidays.set(holiday.day);
		if (!holiday.name.empty() && listed.insert({holiday.day, holiday.name}).second)
			month->notes.push_back({holiday.day, holiday.name, false});
	}
	for (const named_day& event : fEvents[yearIndex]) {
		if (event.month != month->month)
			continue;
		month->events.set(event.day);
		if (!event.name.empty() && listed.insert({event.day, event.name}).second)
			month->notes.push_back({event.day, event.name, true});
	}
	std::stable_sort(month->notes.begin(), month->notes.end(),
		[](const wall_note& a, const wall_note& b) { return a.day < b.day; });
}

bool wall_calendar::_photo_for(
	int page, BRect frame, float resolution, page_photo* photo, std::string* error)
{
	const std::string& picture = fPictures[size_t(page - 1) % fPictures.size()];
	if (!prepare_photo(picture, frame, fChoices.fit, resolution, !fPdf, photo, error))
		return false;
	if (photo->resolution < kLowestGoodResolution) {
		fProgress->note(picture + ": prints at " + std::to_string(std::lround(photo->resolution))
			+ " ppi on page " + std::to_string(page) + ", under "
			+ std::to_string(int(kLowestGoodResolution)) + " ppi");
	}
	return true;
}

std::function<void(BView*)> wall_calendar::_drawing(
	int page, const page_photo& photo, float scale) const
{
	const wall_sheet sheet = _sheet();
	const wall_style style = _style();
	const wall_photo shown{photo.bitmap.get(), photo.place};
	if (page == 1) {
		const int year = fValue.dates.year();
		const std::string text = fChoices.start_month == 1
			? std::to_string(year)
			: std::to_string(year) + "\u2013" + std::to_string(year + 1);
		return [=](BView* view) {
			draw_wall_cover(view, scale, lay_out_cover(sheet), text, style, shown);
		};
	}
	wall_month month;
	_fill_month(page, &month);
	if (fChoices.mark_photo_date && photo.facts.has_date && photo.facts.year == month.year
		&& photo.facts.month == month.month)
		month.circled_day = photo.facts.day;
	const wall_month_layout layout =
		lay_out_month(sheet, week_rows(month.year, month.month, month.start), month.week_numbers);
	return [=](BView* view) { draw_wall_month(view, scale, layout, month, style, shown); };
}

namespace {

BRect photo_frame(const wall_sheet& sheet, int page, bool weekNumbers)
{
	return page == 1 ? lay_out_cover(sheet).photo : lay_out_month(sheet, 5, weekNumbers).photo;
}

} // namespace

int wall_calendar::_write_pdf(const std::string& path)
{
	const wall_sheet sheet = _sheet();
	const wall_frame frame = frame_of_sheet(sheet);
	auto* settings = new BMessage;
	// The job writes the document beside its final name and puts it in place only when all
	// of it is on the disk.
	settings->AddString("file", path.c_str());
	if (!fOptions.page.empty())
		settings->AddString("paper", fOptions.page.c_str());
	settings->AddInt32("orientation", fChoices.landscape ? B_PRINT_LANDSCAPE : B_PRINT_PORTRAIT);
	settings->AddInt32("scale", B_PRINT_SCALE_ACTUAL_SIZE);
	settings->AddFloat("bleed", sheet.bleed);
	settings->AddFloat("slug", sheet.slug);

	if (_is_input(path)) {
		complain("the output '" + path + "' is one of the inputs; not written over");
		return kSomeFailed;
	}
	BPrintJob job(std::filesystem::path(path).filename().c_str());
	status_t status = job.SetSettings(settings);
	if (status != B_OK) {
		complain("cannot write " + path + ": " + failure_reason(status));
		return kSomeFailed;
	}
	job.BeginJob();
	const BRect bounds(0, 0, frame.sheet.Width() - 1, frame.sheet.Height() - 1);
	// The job's page is a whole number of points, the trim centred on it: the drawing is
	// moved so that its trim falls on the job's.
	const BPoint where(job.TrimRect().left - frame.trim.left, job.TrimRect().top - frame.trim.top);
	for (int page = 1; page <= kPages && job.CanContinue(); page++) {
		const std::string& picture = fPictures[size_t(page - 1) % fPictures.size()];
		fProgress->starting(size_t(page - 1), picture);
		page_photo photo;
		std::string why;
		if (!_photo_for(page, photo_frame(sheet, page, fChoices.week_numbers), kPrintResolution,
				&photo, &why)) {
			// A calendar with a page missing is no calendar: nothing is written.
			fProgress->failed(picture, why);
			job.CancelJob();
			return kSomeFailed;
		}
		page_view view(bounds, _drawing(page, photo, 1));
		job.DrawView(&view, bounds, where);
		job.SpoolPage();
		fProgress->written(picture, "page " + std::to_string(page) + " of " + path);
	}
	job.CommitJob();
	if (job.Status() != B_OK) {
		complain("cannot write " + path + ": " + failure_reason(job.Status()));
		return kSomeFailed;
	}
	return kAllWritten;
}

int wall_calendar::_write_images(const output_format& format, bool directory)
{
	uint32 type = catalogue_type_for(format.mime.c_str());
	if (type == 0) {
		complain("this system has no translator that writes " + format.mime);
		return kSomeFailed;
	}
	const wall_sheet sheet = _sheet();
	const wall_frame frame = frame_of_sheet(sheet);
	const float scale = float(fChoices.dpi) / 72;
	const std::string extension =
		directory ? ".png" : std::filesystem::path(fOptions.output).extension().string();
	int failures = 0;
	for (int page = 1; page <= kPages; page++) {
		const std::string& picture = fPictures[size_t(page - 1) % fPictures.size()];
		const std::string path = page_path(fOptions.output, directory, extension, page);
		fProgress->starting(size_t(page - 1), picture);
		page_photo photo;
		std::string why;
		if (_is_input(path)) {
			fProgress->failed(
				picture, "the output '" + path + "' is one of the inputs; not written over");
			failures++;
			continue;
		}
		bool done = _photo_for(page, photo_frame(sheet, page, fChoices.week_numbers),
			float(fChoices.dpi), &photo, &why);
		if (done) {
			BBitmap composed(BRect(0, 0, std::ceil(frame.sheet.Width() * scale) - 1,
								 std::ceil(frame.sheet.Height() * scale) - 1),
				B_RGB32, true);
			if (!composed.IsValid()) {
				why = "the page is too large to draw at " + std::to_string(fChoices.dpi) + " dpi";
				done = false;
			} else {
				draw_whole(
					&composed, new page_view(composed.Bounds(), _drawing(page, photo, scale)));
				photo.bitmap.reset();
				BDirectory folder(std::filesystem::path(path).parent_path().empty()
						? "."
						: std::filesystem::path(path).parent_path().c_str());
				status_t status = folder.InitCheck();
				if (status == B_OK)
					status = write_picture(&composed, &folder,
						std::filesystem::path(path).filename().c_str(), type, format.mime.c_str());
				if (status != B_OK) {
					why = "cannot write " + path + ": " + failure_reason(status);
					done = false;
				}
			}
		}
		if (done) {
			fProgress->written(picture, path);
		} else {
			fProgress->failed(picture, why);
			failures++;
		}
	}
	return failures == 0 ? kAllWritten : kSomeFailed;
}

int render_wall_calendar(const render_options& options, const calendar_value& value)
{
	fill_output_catalogue();
	wall_calendar calendar(options, value);
	const int status = calendar.run();
	free_output_catalogue();
	return status;
}
