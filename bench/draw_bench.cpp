// How long drawing the canvas takes for a large picture, as the screen gets it: a view
// draws only what the screen can show of it (scripts/bench.sh's draw case, program_bench
// draw, gives it a screen as large as the picture).
#include <cstdio>
#include <cstring>

#include "Application.h"
#include "BenchClock.h"
#include "KitTesting.h"
#include "Window.h"
#include "calendar_attributes.h"
#include "dorvaview.h"
#include "pic.h"

int main()
{
	const int width = 4000, height = 3000;
	BApplication application("application/x-vnd.Vesk-dorva-bench");
	auto* window = new BWindow(BRect(0, 0, width - 1, height + 19), "bench", B_DOCUMENT_WINDOW, 0);
	auto* canvas = new dorvaview(BRect(0, 20, width - 1, height + 19));
	window->AddChild(canvas);
	window->Show();
	kit::testing::RunUntilIdle();

	canvas->image = new BBitmap(BRect(0, 0, width - 1, height - 1), B_RGB32);
	std::memset(canvas->image->Bits(), 0x80, size_t(canvas->image->BitsLength()));
	pic = canvas->image->Bounds();

	canvas->Draw(canvas->Bounds()); // warm the font caches
	double full = median_ms(9, [&] { canvas->Draw(canvas->Bounds()); });
	double band = median_ms(9, [&] { canvas->draw_cal(); });
	double small = median_ms(9, [&] {
		canvas->Invalidate(BRect(0, 0, 99, 99));
		kit::testing::UpdateView(canvas);
	});
	BRect kept = kit::testing::KeptArea(canvas);
	std::printf("picture %dx%d, of which the screen shows %dx%d\n", width, height,
		int(kept.Width()) + 1, int(kept.Height()) + 1);
	std::printf("Draw(Bounds()), picture and band: %.1f ms (median of 9)\n", full);
	std::printf("draw_cal alone:                   %.1f ms\n", band);
	std::printf("an update of 100x100 pixels:      %.2f ms\n", small);
	window->Quit();
	return 0;
}
