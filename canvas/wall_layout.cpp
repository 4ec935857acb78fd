#include "wall_layout.h"

#include <algorithm>

#include "civil_date.h"

namespace {

// The share of the trimmed page's height above the calendar that the photo takes: a
// portrait page is mostly photo, a landscape one has less height to give.
const float kPortraitPhotoShare = 0.56f;
const float kLandscapePhotoShare = 0.50f;

// The calendar's part below the photo, divided from the top: title, weekday names, grid,
// notes (shares of the part's height).
const float kTitleShare = 0.14f;
const float kWeekdayShare = 0.07f;
const float kNotesShare = 0.18f;

// A month takes at most six rows; a short one is still laid out over five, so that rows
// of different months look alike.
const int kMostRows = 6;
const int kUsualRows = 5;

BRect grown(BRect rect, float by)
{
	return BRect(rect.left - by, rect.top - by, rect.right + by, rect.bottom + by);
}

} // namespace

BRect wall_month_layout::cell(int row, int column) const
{
	const float left = grid.left + column * column_width;
	const float top = grid.top + row * row_height;
	return BRect(left, top, left + column_width, top + row_height);
}

wall_frame frame_of_sheet(const wall_sheet& sheet)
{
	wall_frame frame;
	const float outside = sheet.bleed + sheet.slug;
	frame.sheet = BRect(0, 0, sheet.width + 2 * outside, sheet.height + 2 * outside);
	frame.trim = BRect(outside, outside, outside + sheet.width, outside + sheet.height);
	frame.bleed_area = grown(frame.trim, sheet.bleed);
	frame.safe = grown(frame.trim, -kWallSafeMargin);
	frame.safe.top += sheet.binding;
	return frame;
}

wall_cover_layout lay_out_cover(const wall_sheet& sheet)
{
	wall_cover_layout layout;
	layout.frame = frame_of_sheet(sheet);
	layout.photo = layout.frame.bleed_area;
	if (sheet.binding > 0)
		layout.photo.top = layout.frame.trim.top + sheet.binding;
	// The year stands in the lower right corner, a ninth of the page's shorter side tall.
	layout.year_size = std::min(sheet.width, sheet.height) / 6;
	const BRect& safe = layout.frame.safe;
	layout.year_origin =
		BPoint(safe.right - layout.year_size * 0.1f, safe.bottom - layout.year_size * 0.25f);
	return layout;
}

wall_month_layout lay_out_month(const wall_sheet& sheet, int rows, bool weekNumbers)
{
	wall_month_layout layout;
	layout.frame = frame_of_sheet(sheet);
	const wall_frame& frame = layout.frame;
	layout.rows = std::clamp(rows, 1, kMostRows);

	const bool landscape = sheet.width > sheet.height;
	const float share = landscape ? kLandscapePhotoShare : kPortraitPhotoShare;
	layout.photo = frame.bleed_area;
	if (sheet.binding > 0)
		layout.photo.top = frame.trim.top + sheet.binding;
	layout.photo.bottom = std::max(layout.photo.top, frame.trim.top + sheet.height * share);

	// The calendar's part: between the photo (and a safe margin's gap) and the safe area's
	// bottom, across the safe area.
	BRect part = frame.safe;
	part.top = std::max(part.top, layout.photo.bottom + kWallSafeMargin);
	const float height = std::max(0.0f, part.Height());

	layout.title = BRect(part.left, part.top, part.right, part.top + height * kTitleShare);
	layout.title_size = layout.title.Height() * 0.78f;
	layout.weekdays = BRect(
		part.left, layout.title.bottom, part.right, layout.title.bottom + height * kWeekdayShare);
	layout.notes = BRect(part.left, part.bottom - height * kNotesShare, part.right, part.bottom);
	layout.grid = BRect(part.left, layout.weekdays.bottom, part.right, layout.notes.top);

	// The week numbers' column takes the width of half a day's column, from the grid.
	if (weekNumbers) {
		const float column = layout.grid.Width() / 7.5f;
		layout.week_numbers = layout.grid;
		layout.week_numbers.right = layout.grid.left + column / 2;
		layout.grid.left = layout.week_numbers.right;
		layout.weekdays.left = layout.grid.left;
	}
	layout.column_width = layout.grid.Width() / 7;
	layout.row_height = layout.grid.Height() / std::max(layout.rows, kUsualRows);
	layout.day_size = std::min(layout.row_height * 0.42f, layout.column_width * 0.3f);
	layout.weekday_size = std::min(layout.weekdays.Height() * 0.6f, layout.day_size * 0.65f);

	// Notes in four lines or more, at the weekday names' size at most.
	layout.note_size =
		std::max(5.0f, std::min(layout.day_size * 0.65f, layout.notes.Height() / (4 * 1.35f)));
	layout.note_lines = std::max(1, int(layout.notes.Height() / (layout.note_size * 1.35f)));
	return layout;
}

int first_column(int year, int month, week_start start)
{
	return (weekday_of(year, month, 1) - int(start) + 7) % 7;
}

int week_rows(int year, int month, week_start start)
{
	return (first_column(year, month, start) + days_in_month(year, month) + 6) / 7;
}

BRect crop_to_fill(float width, float height, BRect frame)
{
	const float frameWidth = frame.Width(), frameHeight = frame.Height();
	if (width <= 0 || height <= 0 || frameWidth <= 0 || frameHeight <= 0)
		return BRect(0, 0, width, height);
	// Compare the shapes: a picture wider than the frame loses its sides, a taller one its
	// top and bottom.
	if (width * frameHeight > height * frameWidth) {
		const float used = height * frameWidth / frameHeight;
		const float left = (width - used) / 2;
		return BRect(left, 0, left + used, height);
	}
	const float used = width * frameHeight / frameWidth;
	const float top = (height - used) / 2;
	return BRect(0, top, width, top + used);
}

BRect fit_inside(float width, float height, BRect frame)
{
	if (width <= 0 || height <= 0)
		return frame;
	const float scale = std::min(frame.Width() / width, frame.Height() / height);
	const float shownWidth = width * scale, shownHeight = height * scale;
	const float left = frame.left + (frame.Width() - shownWidth) / 2;
	const float top = frame.top + (frame.Height() - shownHeight) / 2;
	return BRect(left, top, left + shownWidth, top + shownHeight);
}
