// The wall calendar's page layout, checked as properties over every month of the years the
// calendar knows rather than against a few pages drawn once.
#include <gtest/gtest.h>

#include <cmath>

#include "civil_date.h"
#include "wall_layout.h"

namespace {

bool inside(BRect inner, BRect outer)
{
	const float slack = 0.01f;
	return inner.left >= outer.left - slack && inner.top >= outer.top - slack
		&& inner.right <= outer.right + slack && inner.bottom <= outer.bottom + slack;
}

// The rows a month's days fall in, counted by walking its days: a new row starts on each
// day that begins a week, after the first.
int rows_by_walking(int year, int month, week_start start)
{
	int rows = 1;
	for (int day = 2; day <= days_in_month(year, month); day++) {
		if (weekday_of(year, month, day) == int(start))
			rows++;
	}
	return rows;
}

struct sheet_case {
	const char* name;
	wall_sheet sheet;
	bool weekNumbers;
};

const float mm = kPointsPerMillimetre;

const sheet_case kSheets[] = {
	{"a4 portrait", {210 * mm, 297 * mm, 0, 0, 0}, false},
	{"a4 landscape, week numbers", {297 * mm, 210 * mm, 0, 0, 0}, true},
	{"letter, bleed and crop marks", {612, 792, 3 * mm, 8.5f * mm, 0}, true},
	{"tabloid landscape, binding 50 mm", {1224, 792, 5 * mm, 0, 50 * mm}, false},
	{"a3, bleed 20 mm, binding", {297 * mm, 420 * mm, 20 * mm, 8.5f * mm, 12 * mm}, true},
};

} // namespace

TEST(WallLayout, EveryWeekRowOfEveryMonthIsOnThePageInsideTheSafeArea)
{
	for (const sheet_case& test : kSheets) {
		SCOPED_TRACE(test.name);
		const wall_frame frame = frame_of_sheet(test.sheet);
		ASSERT_NEAR(frame.trim.Width(), test.sheet.width, 0.01);
		ASSERT_TRUE(inside(frame.trim, frame.bleed_area));
		ASSERT_TRUE(inside(frame.bleed_area, frame.sheet));
		int sixRowMonths = 0, fourRowMonths = 0;
		for (week_start start : {SUNDAY_FIRST, MONDAY_FIRST, SATURDAY_FIRST}) {
			for (int year = date_table::kFirstYear; year <= date_table::kLastYear; year++) {
				for (int month = 1; month <= 12; month++) {
					const int rows = week_rows(year, month, start);
					ASSERT_EQ(rows, rows_by_walking(year, month, start))
						<< year << "-" << month << " starting " << int(start);
					sixRowMonths += rows == 6;
					fourRowMonths += rows == 4;
					const wall_month_layout layout =
						lay_out_month(test.sheet, rows, test.weekNumbers);
					ASSERT_EQ(layout.rows, rows);
					// The last day's cell is the last row's, and every row lies between the
					// weekday names and the notes, inside the safe area.
					const int last =
						first_column(year, month, start) + days_in_month(year, month) - 1;
					ASSERT_EQ(last / 7, rows - 1);
					for (int row = 0; row < rows; row++) {
						for (int column : {0, 6}) {
							const BRect cell = layout.cell(row, column);
							ASSERT_TRUE(inside(cell, layout.grid)) << year << "-" << month;
							ASSERT_TRUE(inside(cell, frame.safe)) << year << "-" << month;
							ASSERT_GE(cell.top, layout.weekdays.bottom - 0.01f);
							ASSERT_LE(cell.bottom, layout.notes.top + 0.01f);
						}
					}
				}
			}
		}
		EXPECT_GT(sixRowMonths, 0);
		EXPECT_GT(fourRowMonths, 0);
	}
}

TEST(WallLayout, OnlyThePhotoComesNearTheTrimAndTheBindingStaysFree)
{
	for (const sheet_case& test : kSheets) {
		SCOPED_TRACE(test.name);
		const wall_month_layout layout = lay_out_month(test.sheet, 6, test.weekNumbers);
		const wall_frame& frame = layout.frame;
		// The safe area is the trim less 5 mm, and the binding at the top.
		EXPECT_NEAR(frame.safe.left - frame.trim.left, 5 * mm, 0.01);
		EXPECT_NEAR(frame.trim.bottom - frame.safe.bottom, 5 * mm, 0.01);
		EXPECT_NEAR(frame.safe.top - frame.trim.top, 5 * mm + test.sheet.binding, 0.01);
		for (BRect text : {layout.title, layout.weekdays, layout.grid, layout.notes})
			EXPECT_TRUE(inside(text, frame.safe));
		if (layout.week_numbers.Width() > 0)
			EXPECT_TRUE(inside(layout.week_numbers, frame.safe));
		// Text clears the photo, and type is big enough to read in its cell and line.
		EXPECT_GT(layout.title.top, layout.photo.bottom);
		EXPECT_GE(layout.day_size, 7);
		EXPECT_LT(layout.day_size, layout.row_height);
		EXPECT_GE(layout.note_size, 5);
		EXPECT_LE(layout.note_lines * layout.note_size, layout.notes.Height());
		// The photo runs into the bleed on three sides, and at the top only without binding.
		for (const BRect& photo : {layout.photo, lay_out_cover(test.sheet).photo}) {
			EXPECT_FLOAT_EQ(photo.left, frame.bleed_area.left);
			EXPECT_FLOAT_EQ(photo.right, frame.bleed_area.right);
			if (test.sheet.binding > 0)
				EXPECT_FLOAT_EQ(photo.top, frame.trim.top + test.sheet.binding);
			else
				EXPECT_FLOAT_EQ(photo.top, frame.bleed_area.top);
		}
	}
}

TEST(WallLayout, PhotosAreCroppedOrFittedWithoutStretching)
{
	const BRect frame(10, 20, 310, 220); // 3:2
	struct {
		float width, height;
	} pictures[] = {{4000, 3000}, {3000, 4000}, {6000, 4000}, {1000, 100}, {100, 1000}};
	for (const auto& picture : pictures) {
		SCOPED_TRACE(
			std::to_string(int(picture.width)) + "x" + std::to_string(int(picture.height)));
		const BRect crop = crop_to_fill(picture.width, picture.height, frame);
		EXPECT_TRUE(inside(crop, BRect(0, 0, picture.width, picture.height)));
		EXPECT_NEAR(crop.Width() / crop.Height(), 1.5, 1e-3);
		// Centred, and as large as the picture allows: one side is whole.
		EXPECT_NEAR(crop.left, picture.width - crop.right, 0.01);
		EXPECT_NEAR(crop.top, picture.height - crop.bottom, 0.01);
		EXPECT_TRUE(crop.Width() == picture.width || crop.Height() == picture.height);

		const BRect shown = fit_inside(picture.width, picture.height, frame);
		EXPECT_TRUE(inside(shown, frame));
		EXPECT_NEAR(shown.Width() / shown.Height(), picture.width / picture.height,
			picture.width / picture.height * 1e-3);
		EXPECT_TRUE(std::fabs(shown.Width() - frame.Width()) < 0.01
			|| std::fabs(shown.Height() - frame.Height()) < 0.01);
	}
}
