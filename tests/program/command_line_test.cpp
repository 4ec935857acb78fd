// dorva's command line: its own options, spelled out in full, read into the calendar's
// settings; every other argument a file passed on as before; the band where --band puts it.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "CanvasProbe.h"
#include "ImageFixtures.h"
#include "ProgramHarness.h"
#include "TempDirectory.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "command_line.h"
#include "tr.h"

namespace {

command_line read(std::vector<std::string> arguments)
{
	arguments.insert(arguments.begin(), "dorva");
	std::vector<char*> argv;
	for (std::string& argument : arguments)
		argv.push_back(argument.data());
	argv.push_back(nullptr);
	return read_command_line(int(argv.size()) - 1, argv.data());
}

TEST(CommandLine, OptionsAndFilesInAnyOrderUntilTheDoubleDash)
{
	command_line line = read({"--year", "2027", "a.png", "--week-start=monday", "--holidays", "jp",
		"--holidays=family.ics", "--", "--band", "-x"});
	ASSERT_EQ(line.action, command_line::RUN) << line.error;
	EXPECT_EQ(line.calendar.year, 2027);
	EXPECT_EQ(line.calendar.start, MONDAY_FIRST);
	EXPECT_EQ(line.calendar.holidays, (std::vector<std::string>{"jp", "family.ics"}));
	EXPECT_EQ(line.calendar.band_pos, 0);
	EXPECT_EQ(line.files, (std::vector<std::string>{"a.png", "--band", "-x"}));

	// No option: every argument is a file, and the calendar keeps its defaults.
	line = read({"photo.jpg", "-"});
	EXPECT_EQ(line.files, (std::vector<std::string>{"photo.jpg", "-"}));
	EXPECT_EQ(line.calendar.year, 2007);
	EXPECT_TRUE(line.calendar.holidays.empty());

	EXPECT_EQ(read({"--band", "top", "--help", "--version"}).action, command_line::HELP);
	EXPECT_EQ(read({"--version"}).action, command_line::VERSION);
}

TEST(CommandLine, BadOptionsAndValuesAreRefusedWithOneLine)
{
	const std::vector<std::vector<std::string>> bad = {
		{"--year", "1899"},
		{"--year", "2100"},
		{"--year=20x7"},
		{"--year", " 2027"},
		{"--year"},
		{"--week-start", "tuesday"},
		{"--band", "middle"},
		{"--holidays="},
		{"--help=yes"},
	};
	for (const auto& arguments : bad) {
		command_line line = read(arguments);
		EXPECT_EQ(line.action, command_line::BAD) << arguments[0];
		EXPECT_FALSE(line.error.empty());
		EXPECT_EQ(line.error.find('\n'), std::string::npos) << line.error;
	}
	EXPECT_NE(read({"--year", "2100"}).error.find("1900 to 2099"), std::string::npos);
	EXPECT_NE(read({"--year"}).error.find("'--year' needs a value"), std::string::npos);
}

TEST(CommandLine, WhatIsNoneOfTheOptionsIsAFileAndOpensAsOne)
{
	// Not abbreviations, not unknown options: files, in their order.
	command_line line = read({"--v", "--he", "--colour", "red", "-x.png", "--foo.png", "-v"});
	ASSERT_EQ(line.action, command_line::RUN) << line.error;
	EXPECT_EQ(line.files,
		(std::vector<std::string>{"--v", "--he", "--colour", "red", "-x.png", "--foo.png", "-v"}));

	// Those that name nothing are mentioned; one that exists is not.
	TempDirectory folder;
	BBitmap picture(BRect(0, 0, 20, 10), B_RGB32);
	BMallocIO png;
	if (tr == nullptr)
		tr = BTranslatorRoster::Default();
	ASSERT_EQ(EncodeBitmap(tr, picture, kit_code("PNG "), &png), B_OK);
	folder.WriteFile(
		"-x.png", std::string(static_cast<const char*>(png.Buffer()), png.BufferLength()));
	const std::filesystem::path before = std::filesystem::current_path();
	std::filesystem::current_path(folder.Path());
	line = read({"--foo.png", "-x.png"});
	EXPECT_EQ(files_like_options(line), std::vector<std::string>{"--foo.png"});

	// The canvas tries them in order and shows the first picture.
	{
		ProgramHarness program(line.files);
		program.Idle();
		ASSERT_NE(program.Canvas()->image, nullptr);
		EXPECT_STREQ(program.Canvas()->title, "-x.png");
	}
	std::filesystem::current_path(before);
}

// The start as dorva_main makes it, for a command line: the options read, the settings set,
// the program started with its files, the band put in place.
TEST(CommandLine, AMondayFirst2027WithTheBandAtTheTopFromTheCommandLine)
{
	TempDirectory folder;
	BBitmap picture(BRect(0, 0, 600, 400), B_RGB32);
	std::memset(picture.Bits(), 200, size_t(picture.BitsLength()));
	BMallocIO png;
	if (tr == nullptr)
		tr = BTranslatorRoster::Default();
	ASSERT_EQ(EncodeBitmap(tr, picture, kit_code("PNG "), &png), B_OK);
	std::string path = folder.WriteFile(
		"grey.png", std::string(static_cast<const char*>(png.Buffer()), png.BufferLength()));

	command_line line = read({"--year", "2027", "--week-start", "monday", "--band", "top", path});
	ASSERT_EQ(line.action, command_line::RUN);
	ProgramHarness program(line.files);
	std::vector<std::string> errors;
	ASSERT_TRUE(apply_calendar_options(line.calendar, &cal, &errors));
	apply_band_option(line.calendar, &atr);
	atr.holy_col = 0xff00ff;
	program.Idle();
	dorvaview* canvas = program.Canvas();
	ASSERT_NE(canvas->image, nullptr);
	canvas->Draw(canvas->Bounds());

	// The band along the top third: darkened above y = 200, the picture below.
	EXPECT_NEAR(kit::testing::ViewPixel(canvas, 3, 5).red, 100, 2);
	EXPECT_EQ(kit::testing::ViewPixel(canvas, 3, 398).red, 200);
	// 1 January 2027, a Friday and a holiday, in the fifth column of January's first row.
	const int baseline = line_height(100.0f / 7) + line_height(10);
	InkCount first = count_ink(canvas, 0, baseline - 10, 99, baseline, is_magenta);
	ASSERT_GT(first.count, 3);
	EXPECT_NEAR(first.meanX, 62.5, 2);
}

} // namespace

// Saturday may start the week; a holiday set is checked against the rule files before the
// program does anything, and "list" asks for the sets instead.
TEST(CommandLine, HolidaySetsAndTheSaturdayWeek)
{
	command_line line = read({"--week-start", "saturday", "--holidays", "list"});
	EXPECT_EQ(line.calendar.start, SATURDAY_FIRST);
	EXPECT_TRUE(line.calendar.list_holidays);
	EXPECT_TRUE(line.calendar.holidays.empty());

	std::string error;
	line = read({"--holidays", "De-BY", "--holidays", "none", "--holidays", "family.ics"});
	EXPECT_TRUE(check_holiday_sets(line.calendar, &error)) << error;
	line = read({"--holidays", "jp", "--holidays", "de-bz"});
	EXPECT_FALSE(check_holiday_sets(line.calendar, &error));
	EXPECT_EQ(error.rfind("--holidays: de-bz: no such holiday set (nearest: de-b", 0), 0u) << error;
}
