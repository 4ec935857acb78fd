// Drops on the canvas of the running program: "MIME" and "DATA" messages with image data
// under any type, files named by "refs", a clipping to negotiate, and drop points, offsets
// and scales from ordinary to absurd, each delivered through the window's looper to the
// canvas in its window, which decodes and pastes as it would for a real drop. Each input
// starts from the same state: an empty canvas, or one holding a small picture.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "CanvasProbe.h"
#include "FuzzSupport.h"
#include "ImageFixtures.h"
#include "Messenger.h"
#include "ProgramHarness.h"
#include "canvas_codes.h"
#include "drop_pos.h"
#include "pic.h"

namespace {

ProgramHarness* program = nullptr;

// The types dropped data comes under: every image format the system reads, the raw bitmap
// stream, names that only look like an image type, and types that are none.
const char* const kTypes[] = {"image/png", "image/jpeg", "image/gif", "image/bmp", "image/tiff",
	"image/webp", "image/svg+xml", "image/x-be-bitmap", "image/x-portable-pixmap", "image/x-tga",
	"image", "image/", "image/x-be-bitmaps", "text/plain", "application/octet-stream"};

// Coordinates: ordinary, on the canvas's edges, and beyond anything a screen has.
const float kCoordinates[] = {0, 1, -1, 7.5f, 63, 64, -64, 200, 1e4f, -1e4f, 1e5f, -1e5f,
	2147483520.0f, -2147483648.0f, 1e30f, -1e30f, std::numeric_limits<float>::max(),
	std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
	std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()};
const float kScales[] = {1, 2, 0.5f, 0.01f, 100, 0, -0.0f, -1, 1e-30f, 1e30f,
	std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN()};

float coordinate(FuzzedDataProvider* input)
{
	float value = input->ConsumeBool() ? input->PickValueInArray(kCoordinates)
									   : input->ConsumeFloatingPoint<float>();
	return value;
}

float scale(FuzzedDataProvider* input)
{
	float value = input->ConsumeBool() ? input->PickValueInArray(kScales)
									   : input->ConsumeFloatingPoint<float>();
	return value;
}

// A ref field whose bytes are not those of an entry_ref: another type, or a ref's type
// with bytes of any kind.
void add_odd_refs(FuzzedDataProvider* input, BMessage* message)
{
	if (input->ConsumeBool()) {
		message->AddInt32("refs", input->ConsumeIntegral<int32>());
		return;
	}
	std::string bytes = input->ConsumeRandomLengthString(64);
	message->AddData("refs", B_REF_TYPE, bytes.data(), ssize_t(bytes.size()));
}

// The picture the canvas holds before the drops: none, or a small one of its own size.
void start_state(FuzzedDataProvider* input)
{
	dorvaview* canvas = program->Canvas();
	drop_pos = BPoint(0, 0);
	if (input->ConsumeBool()) {
		int width = input->ConsumeIntegralInRange(1, 64);
		int height = input->ConsumeIntegralInRange(1, 64);
		show_picture(canvas, make_picture(width, height, 30, 60, 90));
	} else if (canvas->image != nullptr) {
		BMessenger(canvas).SendMessage(CMD_FILE_CLOSE);
		program->Idle();
	}
}

BMessage make_drop(FuzzedDataProvider* input, const std::vector<uint8_t>& payload)
{
	static const uint32 kCodes[] = {
		B_MIME_DATA, B_SIMPLE_DATA, B_SIMPLE_DATA, B_MIME_DATA, kit_code("what"), CMD_FILE_CLOSE};
	BMessage drop(input->PickValueInArray(kCodes));
	if (input->ConsumeBool()) {
		// Chosen on the canvas, given in screen coordinates as the platform gives them.
		BPoint point{coordinate(input), coordinate(input)};
		drop.AddPoint("_drop_point_", program->Canvas()->ConvertToScreen(point));
		if (input->ConsumeBool())
			drop.AddPoint("_drop_offset_", BPoint{coordinate(input), coordinate(input)});
		if (input->ConsumeBool())
			drop.AddFloat("scale", scale(input));
	}
	switch (input->ConsumeIntegralInRange(0, 5)) {
		case 0: { // the data as a file named by a ref
			static const std::string path = fuzz::ScratchFolder() + "/dropped";
			std::FILE* out = std::fopen(path.c_str(), "wb");
			fuzz::Require(out != nullptr, "the scratch file can be written");
			std::fwrite(payload.data(), 1, payload.size(), out);
			std::fclose(out);
			entry_ref ref(fuzz::ScratchFolder(), "dropped");
			entry_ref missing(fuzz::ScratchFolder(), "missing");
			if (input->ConsumeBool())
				drop.AddRef("refs", &missing);
			drop.AddRef("refs", &ref);
			break;
		}
		case 1:
			add_odd_refs(input, &drop);
			break;
		case 2: { // a clipping offered under types, to be negotiated
			drop.AddString("be:clip_name", input->ConsumeRandomLengthString(16));
			int count = input->ConsumeIntegralInRange(0, 3);
			for (int i = 0; i < count; i++)
				drop.AddString("be:types", input->PickValueInArray(kTypes));
			break;
		}
		default:
			break;
	}
	// The data itself, under one or two types; the first MIME field decides.
	int fields = input->ConsumeIntegralInRange(0, 2);
	for (int i = 0; i < fields; i++) {
		std::string type = input->ConsumeBool() ? input->PickValueInArray(kTypes)
												: input->ConsumeRandomLengthString(24);
		if (type.empty())
			continue;
		drop.AddData(type.c_str(), B_MIME_TYPE, payload.data(), ssize_t(payload.size()));
	}
	return drop;
}

void check_canvas()
{
	dorvaview* canvas = program->Canvas();
	if (fuzz::Verbose()) {
		BRect frame = canvas->image ? canvas->image->Bounds() : BRect();
		std::fprintf(stderr, "canvas_drop_fuzz: drop point (%g, %g); picture %s %g x %g\n",
			drop_pos.x, drop_pos.y, canvas->image ? "of" : "none", frame.Width() + 1,
			frame.Height() + 1);
	}
	if (canvas->image == nullptr)
		return;
	fuzz::CheckPicture(*canvas->image);
	fuzz::Require(pic == canvas->image->Bounds(), "pic is the picture's bounds");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	program = new ProgramHarness();
	// The program is closed at the end as at the end of a test, which frees what its window
	// holds for its life.
	std::atexit([] {
		delete program;
		program = nullptr;
	});
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	FuzzedDataProvider input(data, size);
	// The image bytes come first in the input, the choices from its end.
	std::vector<uint8_t> payload =
		input.ConsumeBytes<uint8_t>(input.ConsumeIntegralInRange<size_t>(0, size));
	start_state(&input);
	int drops = input.ConsumeIntegralInRange(1, 3);
	for (int i = 0; i < drops; i++) {
		BMessage drop = make_drop(&input, payload);
		BMessenger(program->Canvas()).SendMessage(&drop);
		program->Idle();
		check_canvas();
	}
	return 0;
}
