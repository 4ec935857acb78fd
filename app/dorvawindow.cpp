#include "dorvawindow.h"
#include "canvas_codes.h"

#include "Application.h"
#include "Menu.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "ScrollBar.h"
#include "dorvaview.h"
#include "localization.h"
#include "output_catalogue.h"
#include "pic.h"
#include "program_name.h"
#include "window_sizing.h"

// Each scroll bar reaches this far past the canvas side it runs along, at both ends.
static const float kScrollBarOverhang = 1;
static const float kSmallScrollStep = 10;
// The menu bar as it is made; it then fits itself to its items and to the window's width.
constexpr BRect kMenuBarFrame(0, 0, 20, 20);
// The window's pulse, in microseconds: a tenth of a second.
static const bigtime_t kPulseRate = 100000;
// The Config menu's item carries this in its int16 "config"; the canvas does not read it.
static const int16 kConfigColorPage = 2;

dorvawindow::dorvawindow(BRect frame)
	: BWindow(frame, kProgramTitle, B_DOCUMENT_WINDOW, 0, B_CURRENT_WORKSPACE), canvas(nullptr),
	  vbar(nullptr), hbar(nullptr)
{
	get_translator_for_output();

	const float W = frame.Width();
	const float H = frame.Height();
	BRect canvasFrame(0, 0, W - kWindowExtraWidth, H - kWindowExtraHeight);
	canvasFrame.OffsetTo(0, kMenuBarBottom);
	canvas = new dorvaview(canvasFrame);
	AddChild(canvas);

	setupmenus();

	// The vertical bar stands right of the canvas, the horizontal one below it.
	const BRect vbarFrame(canvasFrame.right + 1, canvasFrame.top - kScrollBarOverhang,
		canvasFrame.right + 1 + kScrollBarSize, canvasFrame.bottom + kScrollBarOverhang);
	vbar = new BScrollBar(vbarFrame, "scrollv", canvas, 0, 0, B_VERTICAL);
	AddChild(vbar);
	const BRect hbarFrame(canvasFrame.left - kScrollBarOverhang, canvasFrame.bottom + 1,
		canvasFrame.right + kScrollBarOverhang, canvasFrame.bottom + 1 + kScrollBarSize);
	hbar = new BScrollBar(hbarFrame, "scrollh", canvas, 0, 0, B_HORIZONTAL);
	AddChild(hbar);

	FrameResized(W, H);
	resizeview(0, 0);
	Show();
	SetPulseRate(kPulseRate);
}

dorvawindow::~dorvawindow() = default;

// The catalogue of export formats is imageio's; the window fills it before any view exists.
void dorvawindow::get_translator_for_output()
{
	fill_output_catalogue();
}

void dorvawindow::setupmenus()
{
	auto* bar = new BMenuBar(
		kMenuBarFrame, "menubar", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_ITEMS_IN_ROW, true);

	auto* file = new BMenu(menu_label("File"), B_ITEMS_IN_COLUMN);
	struct {
		const char* label;
		uint32 what;
		bool toCanvas;
	} fileItems[] = {
		{"Open", CMD_FILE_OPEN, true},
		{"Print", CMD_FILE_PRINT, true},
		{"About", B_ABOUT_REQUESTED, false},
		{"Quit", B_QUIT_REQUESTED, false},
	};
	for (const auto& entry : fileItems) {
		auto* item = new BMenuItem(menu_label(entry.label), new BMessage(entry.what), 0, 0);
		if (entry.toCanvas)
			item->SetTarget(canvas);
		else
			item->SetTarget(be_app);
		file->AddItem(item);
	}
	bar->AddItem(file);

	auto* config = new BMenu(menu_label("Config"), B_ITEMS_IN_COLUMN);
	auto* message = new BMessage(CMD_CONFIG);
	message->AddInt16("config", kConfigColorPage);
	auto* color = new BMenuItem("color", message, 0, 0);
	color->SetTarget(canvas);
	config->AddItem(color);
	bar->AddItem(config);

	AddChild(bar);
}

void dorvawindow::resizeview(int w, int h)
{
	fit_window_to_canvas(this, canvas, w, h);
}

void dorvawindow::FrameResized(float, float)
{
	const BRect P = pic;
	const BRect vb = vbar->Bounds();
	const BRect hb = hbar->Bounds();

	// What does not fit: each bar is longer than the canvas side it runs along by its
	// overhang at both ends.
	const float v = P.Height() - vb.Height() + 2 * kScrollBarOverhang;
	const float h = P.Width() - hb.Width() + 2 * kScrollBarOverhang;
	vbar->SetRange(0, v > 0 ? v : 0);
	hbar->SetRange(0, h > 0 ? h : 0);

	// These can be anything for an empty canvas (negative, or a division by zero); the
	// bars take them as they are.
	vbar->SetProportion(vb.Height() / P.Height());
	hbar->SetProportion(hb.Width() / P.Width());

	vbar->SetSteps(kSmallScrollStep, vb.Height());
	hbar->SetSteps(kSmallScrollStep, hb.Width());
}

bool dorvawindow::QuitRequested()
{
	// The records are gone afterwards; the list no longer hands them out.
	free_output_catalogue();

	BMessenger(be_app).SendMessage(B_QUIT_REQUESTED);
	return true;
}
