// How long opening a large JPEG takes, from the message that names the file to the drawn
// canvas, against decoding the same file with djpeg alone.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "BenchClock.h"
#include "BitmapStream.h"
#include "File.h"
#include "KitTesting.h"
#include "dorva.h"
#include "dorvaview.h"
#include "dorvawindow.h"
#include "output_catalogue.h"

// Writes a width x height JPEG of smooth gradients (which is what photos compress like).
static bool write_jpeg(const std::string& path, int width, int height)
{
	BBitmap* bitmap = new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGB32);
	for (int y = 0; y < height; y++) {
		auto* row = static_cast<uint8*>(bitmap->Bits()) + size_t(y) * bitmap->BytesPerRow();
		for (int x = 0; x < width; x++) {
			row[x * 4 + 0] = uint8(x * 255 / width);
			row[x * 4 + 1] = uint8(y * 255 / height);
			row[x * 4 + 2] = uint8((x + y) & 0xff);
			row[x * 4 + 3] = 255;
		}
	}
	BBitmapStream stream(bitmap);
	BFile file(path.c_str(), B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
	return file.InitCheck() == B_OK
		&& tr->Translate(&stream, nullptr, nullptr, &file, kit_code("JPEG")) == B_OK;
}

int main(int argc, char** argv)
{
	const int width = 6000, height = 4000;
	std::string path = argc > 1 ? argv[1] : "/tmp/dorva-open-bench.jpg";
	tr = BTranslatorRoster::Default();
	if (tr == nullptr || !write_jpeg(path, width, height)) {
		std::fprintf(stderr, "could not write %s\n", path.c_str());
		return 1;
	}

	char name[] = "dorva";
	char* args[] = {name, nullptr};
	dorva application(1, args);
	kit::testing::RunUntilIdle();
	dorvaview* canvas = application.main_window->canvas;

	size_t slash = path.rfind('/');
	entry_ref ref(path.substr(0, slash), path.substr(slash + 1));
	double open = median_ms(5, [&] {
		BMessage data(B_SIMPLE_DATA);
		data.AddRef("refs", &ref);
		BMessenger(canvas).SendMessage(&data);
		kit::testing::RunUntilIdle();
		kit::testing::UpdateView(canvas);
	});

	double djpeg = -1;
	if (std::system("command -v djpeg >/dev/null 2>&1") == 0) {
		std::string command = "djpeg -outfile /dev/null '" + path + "'";
		djpeg = median_ms(5, [&] {
			if (std::system(command.c_str()) != 0)
				std::fprintf(stderr, "djpeg failed\n");
		});
	}
	std::printf("JPEG %dx%d (%s)\n", width, height, path.c_str());
	std::printf("open to drawn canvas: %.0f ms (median of 5)\n", open);
	if (djpeg >= 0)
		std::printf("djpeg alone:          %.0f ms (median of 5)\n", djpeg);
	application.main_window->Lock();
	application.main_window->Quit();
	return 0;
}
