// The calendar's year, holidays, week start, style and band placement: chosen once, from
// the command line, before anything is drawn, and read by every drawing of the band.
// Beside atr, whose layout stays that of the attribute record that the configuration
// window edits.
//
// The defaults are the year 2007 with the built-in holidays of Japan and the week starting
// on Sunday. While they hold, the band is drawn through dorvaview::what_day exactly as it
// always was; any other choice is drawn from a date_table of the chosen year.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "date_table.h"

// How the dates and month numbers are drawn: plain, as the band has always drawn them, or
// readable over any picture (readable_style.h).
enum calendar_style : uint8 {
	STYLE_PLAIN,
	STYLE_READABLE,
};

// The holiday set that is used when none is named.
inline constexpr char kDefaultHolidays[] = "jp";

class calendar_settings {
public:
	// The defaults.
	calendar_settings();

	// Chooses the year (date_table::kFirstYear to kLastYear), the holiday sources (as
	// holiday_set::add takes them, combined) and the week start. A source that cannot be
	// read is left out, its message (holiday_set::add's line) added to errors, and the
	// others are still used; the result is false when any was left out. What was left out
	// of the files that were read (holiday_set::notes) is added to errors too, without
	// making the result false. A year outside the table's range is refused whole: nothing
	// changes and the result is false.
	bool set(int year, const std::vector<std::string>& holidays, week_start start,
		std::vector<std::string>* errors);
	// Back to the defaults.
	void reset();
	void set_style(calendar_style style) { fStyle = style; }
	// Whether the band moves to the calmer edge of each picture that arrives (calm_edge.h)
	// instead of staying where atr puts it.
	void set_band_follows_picture(bool follows) { fBandFollowsPicture = follows; }

	int year() const { return fYear; }
	week_start start() const { return fStart; }
	calendar_style style() const { return fStyle; }
	bool band_follows_picture() const { return fBandFollowsPicture; }
	// True while the defaults hold: the year 2007, Sunday first, and no holidays but the
	// built-in ones of Japan ("none" adds nothing, so it may stand beside them).
	bool is_default() const { return !fTable.has_value(); }
	// The year's dates; only while is_default() is false.
	const date_table& table() const { return *fTable; }

private:
	int fYear;
	week_start fStart;
	std::optional<date_table> fTable;
	calendar_style fStyle;
	bool fBandFollowsPicture;
};

// The one record (cal.cpp), holding the defaults until the options change it.
extern calendar_settings cal;
