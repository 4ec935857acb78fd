// The readable style's case of scripts/bench.sh:
//   readability_bench share PHOTO...   for each photo and each style, the share of dates
//                                      that are readable: a contrast of at least 4.5:1
//                                      between the fill and what rings it (the halo, or
//                                      in the plain style the ground under the date), and
//                                      a clear quarter em to each neighbour of its week
//   readability_bench time PICTURE RUNS STYLE  the canvas drawn into a bitmap of the
//                                      picture's size in the style (plain or readable), as
//                                      dorva-render composes it: the first drawing, and the
//                                      median of RUNS more, in milliseconds of wall time and
//                                      of this thread's processor time
// Prints "key value" lines for the script to read.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchClock.h"
#include "BenchPictures.h"
#include "BitmapStream.h"
#include "File.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "calm_edge.h"
#include "dorvaview.h"
#include "pic.h"
#include "readable_style.h"
#include "tr.h"

namespace {

double thread_cpu_ms()
{
	timespec now{};
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

// One date as the band lays it out at the bottom of the picture.
struct laid_date {
	int month, row, column;
	float inkLeft, inkRight;
	bool readable; // its contrast reaches 4.5:1
};

// The dates of 2007 as draw_cal places them, with the contrast each gets in the style.
std::vector<laid_date> lay_out(
	dorvaview* canvas, const BBitmap* picture, calendar_style style, float* dateSize)
{
	const BRect area = picture->Bounds();
	const float c = (area.right - area.left) / 6;
	const float bandTop = area.bottom - 2 * c;
	BFont font;
	font.SetSize(c / 7);
	font_height height;
	font.GetHeight(&height);
	const int monthHeight = int(height.ascent + height.descent);
	font.SetSize(style == STYLE_READABLE ? readable_date_size(c, font) : c / 10);
	font.GetHeight(&height);
	const int dayHeight = int(height.ascent + height.descent);
	*dateSize = font.Size();

	std::vector<laid_date> dates;
	for (int month = 1; month <= 12; month++) {
		const int x0 = int(c * ((month - 1) % 6)), y0 = int(c * ((month - 1) / 6));
		for (int day = 1;; day++) {
			int row, weekday, holiday;
			if (canvas->what_day(2007, month, day, &row, &weekday, &holiday) != DATE_VALID)
				break;
			const uint32 color = holiday != 0 ? atr.holy_col
				: weekday == 0                ? atr.sun_col
				: weekday == 6                ? atr.sat_col
											  : atr.week_col;
			char text[16];
			std::snprintf(text, sizeof(text), "%d", day);
			const float pen = x0 + c * (weekday + 1) / 8 - int(font.StringWidth(text)) / 2;
			const float baseline = bandTop + y0 + monthHeight + dayHeight * (row + 1);
			BRect ink = font.StringBounds(text).OffsetByCopy(pen, baseline);
			double contrast;
			if (style == STYLE_READABLE) {
				const float halo = halo_width(font.Size());
				BRect under = ink;
				under.InsetBy(-halo / 2, -halo / 2);
				number_colors colors =
					readable_colors(color, ground_luminance(picture, under, atr.bg_col));
				contrast = contrast_ratio(
					relative_luminance(colors.fill), relative_luminance(colors.halo));
			} else {
				contrast = contrast_ratio(
					relative_luminance(color), ground_luminance(picture, ink, atr.bg_col));
			}
			dates.push_back(
				{month, row, weekday, ink.left, ink.right, contrast >= kReadableContrast});
		}
	}
	return dates;
}

// Shares of the dates: readable with their neighbours kept clear, and each alone.
struct shares {
	double both = 0, contrast = 0, gap = 0;
};

shares readable_shares(const std::vector<laid_date>& dates, float size)
{
	shares counted;
	for (size_t i = 0; i < dates.size(); i++) {
		bool clear = true;
		for (size_t j : {i - 1, i + 1}) {
			if (j >= dates.size() || dates[j].month != dates[i].month
				|| dates[j].row != dates[i].row)
				continue;
			const laid_date& left = j < i ? dates[j] : dates[i];
			const laid_date& right = j < i ? dates[i] : dates[j];
			// A pixel of antialiased edge on each side, as narrowest_date_gap counts it.
			clear = clear && right.inkLeft - left.inkRight - 1 >= kReadableGapEm * size;
		}
		counted.both += dates[i].readable && clear;
		counted.contrast += dates[i].readable;
		counted.gap += clear;
	}
	const double all = double(dates.size());
	return {counted.both / all, counted.contrast / all, counted.gap / all};
}

int share_case(int count, char** photos)
{
	BApplication application("application/x-vnd.Vesk-dorva-bench");
	dorvaview canvas(BRect(0, 0, 0, 0));
	shares sums[2];
	for (int i = 0; i < count; i++) {
		BBitmap* picture = decode_file(photos[i]);
		std::string name = photos[i];
		name = name.substr(name.rfind('/') + 1);
		std::printf("photo %s %dx%d calmer_edge %s", name.c_str(), int(picture->PixelWidth()),
			int(picture->PixelHeight()), calmer_edge(picture) == BAND_AT_TOP ? "top" : "bottom");
		for (calendar_style style : {STYLE_PLAIN, STYLE_READABLE}) {
			float size;
			const std::vector<laid_date> dates = lay_out(&canvas, picture, style, &size);
			const shares share = readable_shares(dates, size);
			sums[style].both += share.both;
			sums[style].contrast += share.contrast;
			sums[style].gap += share.gap;
			std::printf(" %s %.3f (contrast %.3f, gap %.3f)",
				style == STYLE_PLAIN ? "plain" : "readable", share.both, share.contrast, share.gap);
		}
		std::printf("\n");
		delete picture;
	}
	std::printf("share_photos %d\n", count);
	for (calendar_style style : {STYLE_PLAIN, STYLE_READABLE}) {
		const char* name = style == STYLE_PLAIN ? "plain" : "readable";
		std::printf("share_%s %.3f\n", name, sums[style].both / count);
		std::printf("share_%s_contrast %.3f\n", name, sums[style].contrast / count);
		std::printf("share_%s_gap %.3f\n", name, sums[style].gap / count);
	}
	return 0;
}

int time_case(const char* path, calendar_style style, int runs)
{
	BApplication application("application/x-vnd.Vesk-dorva-bench");
	BBitmap* picture = decode_file(path);
	auto* canvas = new dorvaview(BRect(0, 0, 0, 0));
	BBitmap composed(picture->Bounds(), B_RGB32, true);
	canvas->ResizeTo(picture->Bounds().Width(), picture->Bounds().Height());
	canvas->image = picture;
	pic = picture->Bounds();
	cal.set_style(style);
	composed.AddChild(canvas);
	auto render = [&] {
		composed.Lock();
		canvas->Draw(canvas->Bounds());
		canvas->Sync();
		composed.Unlock();
	};
	// The first drawing renders the glyphs (and outlines) that later ones reuse. On a shared
	// machine the wall time follows the load; this thread's processor time much less so.
	const double first = median_ms(1, render);
	std::vector<double> wall, cpu;
	for (int i = 0; i < runs; i++) {
		const double before = thread_cpu_ms();
		wall.push_back(median_ms(1, render));
		cpu.push_back(thread_cpu_ms() - before);
	}
	const char* name = style == STYLE_PLAIN ? "plain" : "readable";
	std::printf("render_picture %dx%d\n", int(picture->PixelWidth()), int(picture->PixelHeight()));
	std::printf("render_%s_first_ms %.1f\n", name, first);
	std::printf("render_%s_ms %.1f\n", name, median(wall));
	std::printf("render_%s_cpu_ms %.1f\n", name, median(cpu));
	composed.RemoveChild(canvas);
	delete canvas;
	return 0;
}

} // namespace

int main(int argc, char** argv)
{
	const std::string mode = argc > 1 ? argv[1] : "";
	tr = BTranslatorRoster::Default();
	if (tr == nullptr) {
		std::fprintf(stderr, "readability_bench: no translator roster\n");
		return 1;
	}
	if (mode == "share" && argc > 2)
		return share_case(argc - 2, argv + 2);
	const std::string style = argc == 5 ? argv[4] : "";
	if (mode == "time" && (style == "plain" || style == "readable"))
		return time_case(argv[2], style == "plain" ? STYLE_PLAIN : STYLE_READABLE,
			std::max(1, std::atoi(argv[3])));
	std::fprintf(stderr,
		"usage: readability_bench share PHOTO...\n"
		"       readability_bench time PICTURE RUNS plain|readable\n");
	return 2;
}
