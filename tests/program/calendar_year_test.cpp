// The band of another year, holiday set or week start, drawn through the year's date table;
// and the defaults, which still go through what_day.
#include <gtest/gtest.h>

#include <cstring>

#include "CanvasProbe.h"
#include "ProgramHarness.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "dorvaview.h"

namespace {

const uint8 kGrey = 200;

// A 601 x 401 picture: cells of 100 pixels, the band from y = 200 at the bottom.
class CalendarYear : public ::testing::Test {
protected:
	void Show()
	{
		canvas = program.Canvas();
		atr.holy_col = 0xff00ff;
		show_picture(canvas, make_picture(601, 401, kGrey, kGrey, kGrey));
	}

	// The ink of one date's text, found where its column and row in the table put it.
	InkCount DateInk(
		int month, int day, int column, int row, const std::function<bool(rgb_color)>& colour)
	{
		const int monthHeight = line_height(100.0f / 7);
		const int dayHeight = line_height(10);
		const int centreX = 100 * ((month - 1) % 6) + 100 * (column + 1) / 8;
		const int baseline = 200 + 100 * ((month - 1) / 6) + monthHeight + dayHeight * (row + 1);
		return count_ink(
			canvas, centreX - 7, baseline - dayHeight + 2, centreX + 7, baseline, colour);
	}

	ProgramHarness program;
	dorvaview* canvas = nullptr;
};

TEST_F(CalendarYear, MondayFirst2027PutsItsFirstFridayInTheFifthColumn)
{
	std::vector<std::string> errors;
	ASSERT_TRUE(cal.set(2027, {"jp"}, MONDAY_FIRST, &errors));
	ASSERT_FALSE(cal.is_default());
	Show();

	// 1 January 2027, a Friday and New Year's Day: fifth column (x = 62.5), first row.
	InkCount newYear = DateInk(1, 1, 4, 0, is_magenta);
	ASSERT_GT(newYear.count, 3);
	EXPECT_NEAR(newYear.meanX, 62.5, 2);
	// The Saturday and Sunday after it close the first row; Sunday is the last column.
	InkCount saturday = DateInk(1, 2, 5, 0, is_blue);
	ASSERT_GT(saturday.count, 3);
	EXPECT_NEAR(saturday.meanX, 75, 2);
	InkCount sunday = DateInk(1, 3, 6, 0, is_red);
	ASSERT_GT(sunday.count, 3);
	EXPECT_NEAR(sunday.meanX, 87.5, 2);
	// Monday 4 January starts the second row in the first column.
	InkCount monday = DateInk(1, 4, 0, 1, is_black);
	ASSERT_GT(monday.count, 3);
	EXPECT_NEAR(monday.meanX, 12.5, 2);
	// Coming of Age Day, the second Monday: a holiday in the third row.
	EXPECT_GT(DateInk(1, 11, 0, 2, is_magenta).count, 3);
	// 31 December 2027, a Friday, in its month's fifth row.
	InkCount last = DateInk(12, 31, 4, 4, is_black);
	ASSERT_GT(last.count, 3);
	EXPECT_NEAR(last.meanX, 500 + 62.5, 2);
	// Where a Sunday-first calendar would put the 1st (column 5), there is nothing.
	EXPECT_EQ(DateInk(1, 1, 5, 0, is_magenta).count, 0);
}

TEST_F(CalendarYear, HolidaysOfTheTableAreNotThoseOfWhatDay)
{
	// 2007 with Monday first goes through the table, whose holidays include the four that
	// fell on a Sunday: 11 February is drawn as a holiday, not as a Sunday.
	std::vector<std::string> errors;
	ASSERT_TRUE(cal.set(2007, {"jp"}, MONDAY_FIRST, &errors));
	Show();
	// 11 February 2007, Sunday: last column, second row (1 February is a Thursday).
	EXPECT_GT(DateInk(2, 11, 6, 1, is_magenta).count, 3);
	EXPECT_EQ(DateInk(2, 11, 6, 1, is_red).count, 0);

	// "none" marks nothing: 1 January 2007 is a plain Monday.
	ASSERT_TRUE(cal.set(2007, {"none"}, SUNDAY_FIRST, &errors));
	canvas->Draw(canvas->Bounds());
	EXPECT_GT(DateInk(1, 1, 1, 0, is_black).count, 3);
	EXPECT_EQ(DateInk(1, 1, 1, 0, is_magenta).count, 0);
}

TEST_F(CalendarYear, TheDefaultsNamedExplicitlyDrawWhatTheDefaultsDraw)
{
	Show();
	std::unique_ptr<BBitmap> before(kit::testing::SnapshotView(canvas));

	std::vector<std::string> errors;
	ASSERT_TRUE(cal.set(2007, {"jp", "none", "jp"}, SUNDAY_FIRST, &errors));
	EXPECT_TRUE(cal.is_default());
	canvas->Draw(canvas->Bounds());
	std::unique_ptr<BBitmap> after(kit::testing::SnapshotView(canvas));
	ASSERT_EQ(before->BitsLength(), after->BitsLength());
	EXPECT_EQ(std::memcmp(before->Bits(), after->Bits(), size_t(before->BitsLength())), 0);

	// A holiday file that cannot be read is left out, with its message, and the rest holds.
	EXPECT_FALSE(cal.set(2007, {"jp", "/nonexistent/family.ics"}, SUNDAY_FIRST, &errors));
	ASSERT_EQ(errors.size(), 1u);
	EXPECT_NE(errors[0].find("/nonexistent/family.ics"), std::string::npos) << errors[0];
	EXPECT_TRUE(cal.is_default());
	// A year the table cannot lay out changes nothing.
	errors.clear();
	EXPECT_FALSE(cal.set(2100, {"jp"}, MONDAY_FIRST, &errors));
	EXPECT_EQ(errors.size(), 1u);
	EXPECT_TRUE(cal.is_default());
	EXPECT_EQ(cal.year(), 2007);
}

} // namespace
