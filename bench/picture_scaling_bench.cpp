// What a page of a printed calendar costs before its photo is encoded: a camera's JPEG
// decoded whole or no larger than the page needs (libjpeg's DCT scaling), and the part of
// it that fills the page resampled to the page's pixels; and the facts that a page reads
// before it decodes anything (size, the day taken). The cases take turns, so that a
// busy machine weighs on all of them alike; each figure is the median of its runs.
//   picture_scaling_bench PHOTO.jpg [RUNS] [PAGE_WIDTH PAGE_HEIGHT]
// prints "key value" lines: the milliseconds of each case and the ratios between them.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "File.h"
#include "TranslatorRoster.h"
#include "picture_files.h"
#include "tr.h"

namespace {

std::unique_ptr<BBitmap> read_whole(const char* path)
{
	BFile file(path, B_READ_ONLY);
	BBitmap* picture = nullptr;
	if (read_picture(&file, &picture) != B_OK) {
		std::fprintf(stderr, "cannot decode %s\n", path);
		std::exit(1);
	}
	return std::unique_ptr<BBitmap>(picture);
}

std::unique_ptr<BBitmap> read_least(const char* path, int32 width, int32 height)
{
	BFile file(path, B_READ_ONLY);
	BBitmap* picture = nullptr;
	if (read_picture_at_least(&file, width, height, &picture) != B_OK) {
		std::fprintf(stderr, "cannot decode %s\n", path);
		std::exit(1);
	}
	return std::unique_ptr<BBitmap>(picture);
}

// The middle of the picture in the page's proportions, as a page filled by it shows.
BRect page_part(const BBitmap& picture, int32 pageWidth, int32 pageHeight)
{
	double width = picture.PixelWidth();
	double height = picture.PixelHeight();
	if (width * pageHeight > height * pageWidth)
		width = height * pageWidth / pageHeight;
	else
		height = width * pageHeight / pageWidth;
	double left = (picture.PixelWidth() - width) / 2;
	double top = (picture.PixelHeight() - height) / 2;
	return BRect(float(left), float(top), float(left + width - 1), float(top + height - 1));
}

std::unique_ptr<BBitmap> resample(const BBitmap& picture, int32 pageWidth, int32 pageHeight)
{
	std::unique_ptr<BBitmap> page(resample_picture(
		&picture, page_part(picture, pageWidth, pageHeight), pageWidth, pageHeight));
	if (page == nullptr) {
		std::fprintf(stderr, "cannot resample\n");
		std::exit(1);
	}
	return page;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc < 2) {
		std::fprintf(stderr, "usage: picture_scaling_bench PHOTO.jpg [RUNS] [WIDTH HEIGHT]\n");
		return 2;
	}
	const char* path = argv[1];
	const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
	const int32 pageWidth = argc > 4 ? std::atoi(argv[3]) : 2300;
	const int32 pageHeight = argc > 4 ? std::atoi(argv[4]) : 1700;
	tr = BTranslatorRoster::Default();
	if (tr == nullptr) {
		std::fprintf(stderr, "no translator roster\n");
		return 1;
	}

	// The least size: the page's part of the picture must still cover the page.
	auto whole = read_whole(path);
	const BRect part = page_part(*whole, pageWidth, pageHeight);
	const int32 leastWidth =
		int32(double(pageWidth) * whole->PixelWidth() / (part.Width() + 1) + 0.999);
	const int32 leastHeight =
		int32(double(pageHeight) * whole->PixelHeight() / (part.Height() + 1) + 0.999);
	auto least = read_least(path, leastWidth, leastHeight);
	std::printf("picture %dx%d\n", int(whole->PixelWidth()), int(whole->PixelHeight()));
	std::printf("least %dx%d\n", int(least->PixelWidth()), int(least->PixelHeight()));
	std::printf("page %dx%d\n", int(pageWidth), int(pageHeight));

	std::map<std::string, std::vector<double>> times;
	auto time = [&](const char* key, const std::function<void()>& work) {
		times[key].push_back(median_ms(1, work));
	};
	for (int run = 0; run < runs; run++) {
		time("facts_ms", [&] {
			BFile file(path, B_READ_ONLY);
			picture_facts facts;
			if (read_picture_facts(&file, &facts) != B_OK) {
				std::fprintf(stderr, "no facts of %s\n", path);
				std::exit(1);
			}
		});
		time("decode_whole_ms", [&] { read_whole(path); });
		time("decode_least_ms", [&] { read_least(path, leastWidth, leastHeight); });
		time("resample_whole_ms", [&] { resample(*whole, pageWidth, pageHeight); });
		time("resample_least_ms", [&] { resample(*least, pageWidth, pageHeight); });
		time("page_whole_ms", [&] { resample(*read_whole(path), pageWidth, pageHeight); });
		time("page_least_ms",
			[&] { resample(*read_least(path, leastWidth, leastHeight), pageWidth, pageHeight); });
	}
	std::map<std::string, double> figures;
	for (auto& [key, values] : times) {
		figures[key] = median(values);
		std::printf("%s %.1f\n", key.c_str(), figures[key]);
	}
	auto ratio = [&](const char* key, const char* a, const char* b) {
		std::printf("%s %.2f\n", key, figures[a] / figures[b]);
	};
	ratio("decode_whole_per_least", "decode_whole_ms", "decode_least_ms");
	ratio("resample_per_decode_least", "resample_least_ms", "decode_least_ms");
	ratio("resample_whole_per_least", "resample_whole_ms", "resample_least_ms");
	ratio("page_whole_per_least", "page_whole_ms", "page_least_ms");
	return 0;
}
