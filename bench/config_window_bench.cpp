// How long opening the configuration window takes with the fonts installed here. Opening
// builds both font menus (one item per installed family and style) and the controls, and
// shows the window; the font menus dominate when many fonts are installed.
//
//   config_window_bench [openings]     default 20
//
// Prints the number of families and styles, the time of one listing of them and of building
// one font menu, the time of the first opening (which includes the font database's first
// scan), and the fastest, median and slowest of the openings after it. Each opening is timed
// from the constructor until the window has settled.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "KitTesting.h"
#include "Menu.h"
#include "Window.h"
#include "configview.h"
#include "configwindow.h"
#include "dorva.h"
#include "output_catalogue.h"

using bench_clock = std::chrono::steady_clock;

static double milliseconds_since(bench_clock::time_point start)
{
	return std::chrono::duration<double, std::milli>(bench_clock::now() - start).count();
}

// Opens a window as the canvas's "conf" does, lets it settle, and returns the time taken.
static double open_once()
{
	auto start = bench_clock::now();
	cwin = true;
	auto* window = new configwindow();
	kit::testing::RunUntilIdle();
	double elapsed = milliseconds_since(start);
	window->Lock();
	window->Quit();
	cwin = false;
	kit::testing::RunUntilIdle();
	return elapsed;
}

static double time_font_listing()
{
	auto start = bench_clock::now();
	int32 families = count_font_families();
	for (int32 i = 0; i < families; i++) {
		font_family family;
		get_font_family(i, &family);
		int32 styles = count_font_styles(family);
		for (int32 j = 0; j < styles; j++) {
			font_style style;
			get_font_style(family, j, &style);
		}
	}
	return milliseconds_since(start);
}

// Builds one font menu on an open window's view, as each opening does twice.
static double time_font_menu()
{
	cwin = true;
	auto* window = new configwindow();
	kit::testing::RunUntilIdle();
	auto start = bench_clock::now();
	BPopUpMenu* menu = window->view->setupfontmenu(1);
	double elapsed = milliseconds_since(start);
	delete menu;
	window->Lock();
	window->Quit();
	cwin = false;
	kit::testing::RunUntilIdle();
	return elapsed;
}

int main(int argc, char** argv)
{
	int openings = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
	// No screen is needed to measure; a real one may be asked for by setting the variable.
	setenv("QT_QPA_PLATFORM", "offscreen", 0);

	tr = BTranslatorRoster::Default();
	if (tr == nullptr) {
		std::fprintf(stderr, "no translator roster\n");
		return 1;
	}
	char name[] = "dorva";
	char* arguments[] = {name, nullptr};
	dorva application(1, arguments);
	kit::testing::RunUntilIdle();

	double first = open_once();

	int32 families = count_font_families();
	int32 pairs = 0;
	for (int32 i = 0; i < families; i++) {
		font_family family;
		get_font_family(i, &family);
		pairs += count_font_styles(family);
	}
	double listing = time_font_listing();
	double menu = time_font_menu();

	std::vector<double> times;
	for (int i = 0; i < openings; i++)
		times.push_back(open_once());
	std::sort(times.begin(), times.end());

	std::printf(
		"font families: %d, family/style pairs (items per menu): %d\n", int(families), int(pairs));
	std::printf("one listing of all families and styles: %.2f ms\n", listing);
	std::printf("one font menu (setupfontmenu): %.2f ms\n", menu);
	std::printf("first opening: %.1f ms\n", first);
	std::printf("next %d openings: fastest %.1f ms, median %.1f ms, slowest %.1f ms\n", openings,
		times.front(), times[times.size() / 2], times.back());
	return 0;
}
