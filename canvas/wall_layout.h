// Where things go on the pages of the wall calendar: a cover and one page per month, each
// with its photo above. Everything is in points (1/72 inch) with y downwards, the origin at
// the top-left of the whole sheet, which is the trimmed page grown by the bleed and then by
// the slug where crop marks go.
#pragma once

#include "Rect.h"
#include "date_table.h"

// No text or rule comes closer to the trim than this (5 mm); only the photo does.
inline constexpr float kWallSafeMargin = 5 * 72 / 25.4f;
// Points per millimetre.
inline constexpr float kPointsPerMillimetre = 72 / 25.4f;

struct wall_sheet {
	float width = 0, height = 0; // the trimmed page, turned as it is printed
	float bleed = 0;             // how far the photo runs on past the trim, every side
	float slug = 0;              // beyond the bleed: room for crop marks
	float binding = 0;           // kept free at the top of the trimmed page, for the binding
};

// The boxes every page shares.
struct wall_frame {
	BRect sheet;      // the whole page
	BRect trim;       // where the page is cut
	BRect bleed_area; // the trim grown by the bleed
	BRect safe;       // the trim less the safe margin and, at the top, the binding
};

struct wall_cover_layout {
	wall_frame frame;
	BRect photo;        // the whole bleed area, below the binding
	BPoint year_origin; // the right end of the year's baseline
	float year_size = 0;
};

struct wall_month_layout {
	wall_frame frame;
	BRect photo;
	BRect title; // the month's name, left, and the year, right; baseline at bottom
	float title_size = 0;
	BRect weekdays; // the row of weekday names over the grid
	float weekday_size = 0;
	BRect week_numbers; // the column of ISO week numbers left of the grid; empty without
	BRect grid;         // every week row of the month
	int rows = 0;       // 4 to 6
	float row_height = 0, column_width = 0;
	float day_size = 0;
	BRect notes; // the named days (holidays, events) under the grid
	float note_size = 0;
	int note_lines = 0; // lines per column of notes at note_size

	// The cell of the row (0 at top) and column (0 at left).
	BRect cell(int row, int column) const;
};

// The sheet's boxes.
wall_frame frame_of_sheet(const wall_sheet& sheet);

wall_cover_layout lay_out_cover(const wall_sheet& sheet);

// A month page with the given number of week rows; week numbers add their column.
wall_month_layout lay_out_month(const wall_sheet& sheet, int rows, bool weekNumbers);

// The column (0 to 6) of the month's first day, and the number of week rows the month takes,
// when weeks begin on start.
int first_column(int year, int month, week_start start);
int week_rows(int year, int month, week_start start);

// The photo's part of a picture width x height pixels that fills frame without stretching:
// the whole width or height, centred (a crop), in picture pixels.
BRect crop_to_fill(float width, float height, BRect frame);
// Where a picture width x height shows whole inside frame, centred, as large as fits.
BRect fit_inside(float width, float height, BRect frame);
