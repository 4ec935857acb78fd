// dorva's side of the cases of scripts/bench.sh, each in its own process, through the
// program's real paths (messages to the canvas, its Draw, its save):
//   program_bench open PICTURE RUNS        "DATA" with the file's ref to the drawn canvas
//   program_bench draw PICTURE RUNS        Draw of the whole canvas and of 100x100 updates
//   program_bench paste PICTURE RUNS       a "MIME" drop of raw bitmap data of the picture
//                                          pasted into the same picture, against copying
//                                          the clipped rows with memcpy
//   program_bench export PICTURE DIR RUNS  the canvas's save as PNG into DIR, until the file
//                                          is in place (the writing runs in the background)
//   program_bench refuse DIR RUNS          hostile files written into DIR, each opened by
//                                          a "DATA" message: a 32-byte bitmap stream header
//                                          promising 1 GiB rows, a PNG bomb, a JPEG claiming
//                                          144 Mpixel, an SVG claiming 268 Mpixel, and the
//                                          header dropped as raw bitmap data; the time
//                                          of each open, the peak resident memory it adds,
//                                          and what the canvas ended with
// Every figure is the median wall time of RUNS runs in milliseconds (the paste's parts are
// given in this thread's processor time as well, "_cpu_ms"). Prints "key value" lines for
// the script to read.
#include <sys/stat.h>
#include <unistd.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "Application.h"
#include "BenchClock.h"
#include "BenchPictures.h"
#include "BitmapStream.h"
#include "File.h"
#include "KitTesting.h"
#include "Window.h"
#include "calendar_attributes.h"
#include "canvas_codes.h"
#include "dorva.h"
#include "dorvaview.h"
#include "dorvawindow.h"
#include "drop_pos.h"
#include "output_catalogue.h"
#include "paste.h"
#include "pic.h"

namespace {

entry_ref ref_of(const std::string& path)
{
	size_t slash = path.rfind('/');
	if (slash == std::string::npos)
		return entry_ref(".", path);
	return entry_ref(slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1));
}

// Sends the canvas a "DATA" message naming the file, as the command line or a dropped file
// does, and waits until it has been handled and the canvas drawn.
void open_in(dorvaview* canvas, const std::string& path)
{
	entry_ref ref = ref_of(path);
	BMessage data(B_SIMPLE_DATA);
	data.AddRef("refs", &ref);
	BMessenger(canvas).SendMessage(&data);
	kit::testing::RunUntilIdle();
	kit::testing::UpdateView(canvas);
}

// dorva as its main makes it, started with no file; at the end its main window is closed
// as its close button does, so that it lets go of what it holds.
struct Program {
	char name[6] = "dorva";
	char* args[2] = {name, nullptr};
	dorva application{1, args};
	dorvaview* canvas = nullptr;

	Program()
	{
		kit::testing::RunUntilIdle();
		canvas = application.main_window->canvas;
	}
	~Program()
	{
		kit::testing::CloseWindow(application.main_window);
		kit::testing::RunUntilIdle();
	}
	Program(const Program&) = delete;
	Program& operator=(const Program&) = delete;
};

void expect_picture(dorvaview* canvas, const char* path)
{
	if (canvas->image == nullptr) {
		std::fprintf(stderr, "program_bench: the canvas did not open %s\n", path);
		std::exit(1);
	}
}

int open_case(const char* path, int runs)
{
	Program program;
	dorvaview* canvas = program.canvas;

	double ms = median_ms(runs, [&] { open_in(canvas, path); });
	expect_picture(canvas, path);
	std::printf("open_picture %dx%d\n", canvas->image->PixelWidth(), canvas->image->PixelHeight());
	std::printf("open_ms %.1f\n", ms);
	return 0;
}

// The canvas alone in a window of its size, as large as the picture, like bench/draw_bench,
// on a screen large enough to show all of it (see main): a view keeps and draws pixels only
// for what can be shown, and the reference draws the whole picture.
int draw_case(const char* path, int runs)
{
	BApplication application("application/x-vnd.Vesk-dorva-bench");
	BBitmap* picture = decode_file(path);
	const int width = picture->PixelWidth(), height = picture->PixelHeight();
	auto* window = new BWindow(BRect(0, 0, width - 1, height + 19), "bench", B_DOCUMENT_WINDOW, 0);
	auto* canvas = new dorvaview(BRect(0, 20, width - 1, height + 19));
	window->AddChild(canvas);
	window->Show();
	kit::testing::RunUntilIdle();
	canvas->image = picture;
	pic = canvas->image->Bounds();

	canvas->Draw(canvas->Bounds()); // warm the font caches
	double full = median_ms(runs, [&] { canvas->Draw(canvas->Bounds()); });
	double band = median_ms(runs, [&] { canvas->draw_cal(); });
	// Updates as the platform runs them when a part of the view comes into sight: the part
	// is filled and the canvas's Draw() called with it, clipped to it.
	auto update = [&](BRect area) {
		canvas->Invalidate(area);
		kit::testing::UpdateView(canvas);
	};
	double corner = median_ms(runs, [&] { update(BRect(0, 0, 99, 99)); });
	// An update inside the band, over dates of the first month of its second row.
	const float bandTop = pic.bottom - 2 * (pic.right - pic.left) / 6;
	BRect inBand(200, bandTop + 700, 299, bandTop + 799);
	double dates = median_ms(runs, [&] { update(inBand); });
	// The program calling Draw() itself with a small rectangle: nothing clips that drawing
	// but what can be shown, so the whole band is drawn.
	double direct = median_ms(runs, [&] { canvas->Draw(BRect(0, 0, 99, 99)); });
	std::printf("draw_picture %dx%d\n", width, height);
	// Say how much of the view a "full" drawing covered: what the screen can show of it.
	BRect kept = kit::testing::KeptArea(canvas);
	std::printf("draw_buffer %dx%d\n", int(kept.Width()) + 1, int(kept.Height()) + 1);
	std::printf("draw_full_ms %.2f\n", full);
	std::printf("draw_band_ms %.2f\n", band);
	std::printf("draw_small_ms %.2f\n", corner);
	std::printf("draw_small_band_ms %.2f\n", dates);
	std::printf("draw_direct_small_ms %.2f\n", direct);
	window->Lock();
	window->Quit();
	return 0;
}

// The offscreen platform's screen is 800 x 800 pixels unless a configuration file gives
// another: make it large enough for a window showing the whole of any picture the draw
// case is given. Returns the file to remove, or an empty name.
std::string use_large_offscreen_screen()
{
	const char* platform = std::getenv("QT_QPA_PLATFORM");
	if (platform == nullptr || std::strcmp(platform, "offscreen") != 0)
		return std::string();
	char name[] = "/tmp/dorva-bench-screen.XXXXXX";
	int fd = mkstemp(name);
	if (fd < 0)
		return std::string();
	const char json[] =
		"{\"screens\": [{\"name\": \"bench\", \"x\": 0, \"y\": 0, \"width\": 16384, "
		"\"height\": 16384}]}\n";
	bool written = write(fd, json, sizeof(json) - 1) == ssize_t(sizeof(json) - 1);
	close(fd);
	if (!written) {
		unlink(name);
		return std::string();
	}
	setenv("QT_QPA_PLATFORM", (std::string("offscreen:configfile=") + name).c_str(), 1);
	return name;
}

// The bytes of a bitmap in the platform's bitmap stream format, as a drag of raw bitmap
// data ("image/x-be-bitmap") carries them.
std::vector<char> stream_bytes(BBitmap*& bitmap)
{
	BBitmapStream stream(bitmap);
	off_t size = 0;
	stream.GetSize(&size);
	std::vector<char> bytes(static_cast<size_t>(size));
	if (stream.ReadAt(0, bytes.data(), bytes.size()) != ssize_t(bytes.size())) {
		std::fprintf(stderr, "program_bench: cannot read the bitmap stream\n");
		std::exit(1);
	}
	stream.DetachBitmap(&bitmap);
	return bytes;
}

// The reference: the clipped rectangle worked out once, then one memcpy a row.
void copy_clipped_rows(BBitmap* canvas, const BBitmap* source, int ox, int oy)
{
	const int x0 = std::max(0, ox), y0 = std::max(0, oy);
	const int x1 = std::min(canvas->PixelWidth(), ox + source->PixelWidth());
	const int y1 = std::min(canvas->PixelHeight(), oy + source->PixelHeight());
	if (x0 >= x1 || y0 >= y1)
		return;
	auto* to = static_cast<uint8*>(canvas->Bits());
	auto* from = static_cast<const uint8*>(source->Bits());
	for (int y = y0; y < y1; y++) {
		std::memcpy(to + size_t(y) * canvas->BytesPerRow() + size_t(x0) * 4,
			from + size_t(y - oy) * source->BytesPerRow() + size_t(x0 - ox) * 4,
			size_t(x1 - x0) * 4);
	}
}

// Wall time and this thread's processor time of one run of work, in milliseconds.
struct Timing {
	double wall;
	double cpu;
};

double thread_cpu_ms()
{
	timespec now{};
	clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
	return double(now.tv_sec) * 1000.0 + double(now.tv_nsec) / 1e6;
}

Timing timed(const std::function<void()>& work)
{
	double cpu = thread_cpu_ms();
	double wall = median_ms(1, work);
	return {wall, thread_cpu_ms() - cpu};
}

int paste_case(const char* path, int runs)
{
	Program program;
	dorvaview* canvas = program.canvas;
	open_in(canvas, path);
	expect_picture(canvas, path);

	BBitmap* dropped = decode_file(path);
	const std::vector<char> raw = stream_bytes(dropped);
	const int ox = 200, oy = 100; // hangs over the right and bottom edges: clipped there
	drop_pos = BPoint(ox, oy);

	// What the canvas should hold after any of the pastes below.
	const BBitmap before(*canvas->image);
	BBitmap expected(before);
	copy_clipped_rows(&expected, dropped, ox, oy);

	BMessage paste(B_MIME_DATA);
	paste.AddData("image/x-be-bitmap", B_MIME_TYPE, raw.data(), ssize_t(raw.size()));
	double whole = median_ms(runs, [&] {
		BMessenger(canvas).SendMessage(&paste);
		kit::testing::RunUntilIdle();
	});
	auto same_as_expected = [&] {
		return std::memcmp(canvas->image->Bits(), expected.Bits(), size_t(expected.BitsLength()))
			== 0;
	};
	bool same = same_as_expected();

	// The parts of the canvas's handler (as the window's loop calls it, without the copy
	// that sending makes): decoding the raw data as the paste does, 1024 bytes a write; the
	// composite itself, called alone; the redraw. The composite and the row copy take turns
	// within each run and are timed in this thread's processor time too, which the other
	// work on a busy machine disturbs far less than wall time.
	BBitmap target(before);
	std::vector<double> handlerMs, compositeMs, compositeCpu, rowsMs, rowsCpu;
	std::vector<double> decodeMs, redrawMs;
	bool sameAlone = true;
	for (int i = 0; i < runs; i++) {
		Timing handler = timed([&] { canvas->MessageReceived(&paste); });
		Timing decode = timed([&] {
			BMemoryIO source(raw.data(), raw.size());
			BBitmapStream stream;
			char chunk[1024];
			ssize_t count;
			while ((count = source.Read(chunk, sizeof(chunk))) > 0)
				stream.Write(chunk, size_t(count));
			BBitmap* bitmap = nullptr;
			stream.DetachBitmap(&bitmap);
			delete bitmap;
		});
		Timing redraw = timed([&] { canvas->redraw(false); });
		Timing alone = timed([&] { composite(&target, dropped, BPoint(ox, oy)); });
		if (i == 0) { // the later runs paste the same pixels again
			sameAlone =
				std::memcmp(target.Bits(), expected.Bits(), size_t(expected.BitsLength())) == 0;
		}
		Timing rows = timed([&] { copy_clipped_rows(&target, dropped, ox, oy); });
		handlerMs.push_back(handler.wall);
		decodeMs.push_back(decode.wall);
		redrawMs.push_back(redraw.wall);
		compositeMs.push_back(alone.wall);
		compositeCpu.push_back(alone.cpu);
		rowsMs.push_back(rows.wall);
		rowsCpu.push_back(rows.cpu);
	}
	same = same && sameAlone && same_as_expected();

	std::printf(
		"paste_picture %dx%d at %d,%d\n", dropped->PixelWidth(), dropped->PixelHeight(), ox, oy);
	std::printf("paste_ms %.1f\n", whole);
	std::printf("paste_handler_ms %.1f\n", median(handlerMs));
	std::printf("paste_decode_ms %.1f\n", median(decodeMs));
	std::printf("paste_redraw_ms %.1f\n", median(redrawMs));
	std::printf("paste_composite_ms %.1f\n", median(compositeMs));
	std::printf("paste_composite_cpu_ms %.1f\n", median(compositeCpu));
	std::printf("rows_memcpy_ms %.2f\n", median(rowsMs));
	std::printf("rows_memcpy_cpu_ms %.2f\n", median(rowsCpu));
	std::printf("paste_same_pixels %s\n", same ? "yes" : "no");
	delete dropped;
	return same ? 0 : 1;
}

int export_case(const char* path, const char* directory, int runs)
{
	Program program;
	dorvaview* canvas = program.canvas;
	open_in(canvas, path);
	expect_picture(canvas, path);

	int16 png = -1;
	for (int32 i = 0; i < trc; i++) {
		if (std::strcmp(static_cast<s_xlt*>(xlt.ItemAt(i))->mime, "image/png") == 0)
			png = int16(i);
	}
	if (png < 0) {
		std::fprintf(stderr, "program_bench: no PNG in the catalogue of output formats\n");
		return 1;
	}
	canvas->format_no = png;
	entry_ref folder = ref_of(directory);
	const char* leaf = "dorva-export.png";
	status_t status = B_OK;
	// The export is done, the file in place, when save() returns.
	double ms = median_ms(runs, [&] {
		status_t result = canvas->save(folder, leaf);
		if (result != B_OK)
			status = result;
	});
	const std::string written = std::string(directory) + "/" + leaf;
	struct stat info {};
	if (status != B_OK || stat(written.c_str(), &info) != 0) {
		std::fprintf(stderr, "program_bench: the export failed (%d)\n", int(status));
		return 1;
	}
	std::printf(
		"export_picture %dx%d\n", canvas->image->PixelWidth(), canvas->image->PixelHeight());
	std::printf("export_ms %.1f\n", ms);
	std::printf("export_bytes %lld\n", static_cast<long long>(info.st_size));
	return 0;
}

// A PNG of width x height black grey pixels of 8 bits, compressed as well as zlib can:
// 16384 x 16384 is the bomb of about 256 KB that unpacks to 268 Mpixel.
std::string png_bomb(uint32 width, uint32 height)
{
	std::string out("\x89PNG\r\n\x1a\n", 8);
	auto big32 = [](std::string& to, uint32 value) {
		for (int shift = 24; shift >= 0; shift -= 8)
			to += char(value >> shift);
	};
	auto chunk = [&](const char* type, const std::string& data) {
		big32(out, uint32(data.size()));
		std::string body = std::string(type, 4) + data;
		out += body;
		big32(
			out, uint32(crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size()))));
	};
	std::string header;
	big32(header, width);
	big32(header, height);
	header += std::string("\x08\x00\x00\x00\x00", 5); // 8-bit grey
	chunk("IHDR", header);
	std::vector<uint8> row(1 + width, 0), buffer(1 << 16);
	std::string compressed;
	z_stream zip = {};
	deflateInit(&zip, Z_BEST_COMPRESSION);
	for (uint32 y = 0; y <= height; y++) {
		zip.next_in = row.data();
		zip.avail_in = y == height ? 0 : uInt(row.size());
		do {
			zip.next_out = buffer.data();
			zip.avail_out = uInt(buffer.size());
			deflate(&zip, y == height ? Z_FINISH : Z_NO_FLUSH);
			compressed.append(
				reinterpret_cast<char*>(buffer.data()), buffer.size() - zip.avail_out);
		} while (zip.avail_out == 0);
	}
	deflateEnd(&zip);
	chunk("IDAT", compressed);
	chunk("IEND", "");
	return out;
}

long status_kb(const char* key)
{
	std::ifstream status("/proc/self/status");
	std::string line;
	while (std::getline(status, line)) {
		if (line.compare(0, std::strlen(key), key) == 0)
			return std::atol(line.c_str() + std::strlen(key));
	}
	return -1;
}

int refuse_case(const char* directory, int runs)
{
	Program program;
	dorvaview* canvas = program.canvas;

	// A small JPEG whose frame header then claims 12000 x 12000.
	BBitmap* small = new BBitmap(BRect(0, 0, 15, 15), B_RGB32);
	BBitmapStream smallStream(small);
	BMallocIO jpegBytes;
	tr->Translate(&smallStream, nullptr, nullptr, &jpegBytes, kit_code("JPEG"));
	std::string jpeg(static_cast<const char*>(jpegBytes.Buffer()), jpegBytes.BufferLength());
	for (size_t at = 2; at + 9 < jpeg.size(); at++) {
		if (uint8(jpeg[at]) == 0xff && uint8(jpeg[at + 1]) == 0xc0) {
			jpeg[at + 5] = jpeg[at + 7] = char(12000 >> 8);
			jpeg[at + 6] = jpeg[at + 8] = char(12000 & 0xff);
			break;
		}
	}
	// The bitmap stream header: magic, bounds 0 0 0 0, rows of 1 GiB, B_RGB32, data size.
	const std::string bits(
		"bits\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x40\0\0\0\0\0\0\x08\x40\0\0\0", 32);
	const std::pair<const char*, std::string> files[] = {
		{"promise.bits", bits},
		{"bomb.png", png_bomb(16384, 16384)},
		{"bomb.jpeg", jpeg},
		{"bomb.svg",
			"<svg xmlns='http://www.w3.org/2000/svg' width='16384' height='16384'>"
			"<rect width='100%' height='100%' fill='red'/></svg>"},
	};
	for (const auto& [name, bytes] : files) {
		const std::string path = std::string(directory) + "/" + name;
		std::ofstream(path, std::ios::binary) << bytes;
		std::vector<double> times;
		long addedKb = 0;
		for (int i = 0; i < runs; i++) {
			// Nothing open, and the peak resident memory reset to what is resident now.
			BMessenger(canvas).SendMessage(CMD_FILE_CLOSE);
			kit::testing::RunUntilIdle();
			long before = status_kb("VmRSS:");
			std::ofstream("/proc/self/clear_refs") << "5";
			times.push_back(median_ms(1, [&] { open_in(canvas, path); }));
			if (i == 0)
				addedKb = status_kb("VmHWM:") - before;
		}
		std::string key = name;
		key = key.substr(key.find('.') + 1);
		std::printf("refuse_%s_bytes %zu\n", key.c_str(), bytes.size());
		std::printf("refuse_%s_ms %.1f\n", key.c_str(), median(times));
		std::printf("refuse_%s_peak_added_kb %ld\n", key.c_str(), addedKb);
		if (canvas->image == nullptr)
			std::printf("refuse_%s_outcome refused\n", key.c_str());
		else
			std::printf("refuse_%s_outcome %dx%d\n", key.c_str(), canvas->image->PixelWidth(),
				canvas->image->PixelHeight());
	}

	// The same 32 bytes dropped as raw bitmap data on the empty canvas.
	BMessenger(canvas).SendMessage(CMD_FILE_CLOSE);
	kit::testing::RunUntilIdle();
	BMessage drop(B_MIME_DATA);
	drop.AddData("image/x-be-bitmap", B_MIME_TYPE, bits.data(), ssize_t(bits.size()));
	long before = status_kb("VmRSS:");
	std::ofstream("/proc/self/clear_refs") << "5";
	double ms = median_ms(runs, [&] {
		BMessenger(canvas).SendMessage(&drop);
		kit::testing::RunUntilIdle();
	});
	std::printf("refuse_drop_bytes %zu\n", bits.size());
	std::printf("refuse_drop_ms %.1f\n", ms);
	std::printf("refuse_drop_peak_added_kb %ld\n", status_kb("VmHWM:") - before);
	std::printf("refuse_drop_outcome %s\n", canvas->image == nullptr ? "ignored" : "pasted");
	return 0;
}

int usage()
{
	std::fprintf(stderr,
		"usage: program_bench open|draw|paste PICTURE RUNS\n"
		"       program_bench export PICTURE DIR RUNS\n"
		"       program_bench refuse DIR RUNS\n");
	return 2;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc < 4)
		return usage();
	const std::string mode = argv[1];
	std::string screenFile;
	if (mode == "draw")
		screenFile = use_large_offscreen_screen();
	tr = BTranslatorRoster::Default();
	if (!screenFile.empty())
		unlink(screenFile.c_str());
	if (tr == nullptr) {
		std::fprintf(stderr, "program_bench: no translator roster\n");
		return 1;
	}
	const int runs = std::max(1, std::atoi(argv[argc - 1]));
	if (mode == "open" && argc == 4)
		return open_case(argv[2], runs);
	if (mode == "draw" && argc == 4)
		return draw_case(argv[2], runs);
	if (mode == "paste" && argc == 4)
		return paste_case(argv[2], runs);
	if (mode == "refuse" && argc == 4)
		return refuse_case(argv[2], runs);
	if (mode == "export" && argc == 5)
		return export_case(argv[2], argv[3], runs);
	return usage();
}
