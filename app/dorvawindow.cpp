#include "dorvawindow.h"

#include "Application.h"
#include "Menu.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "ScrollBar.h"
#include "calendar_attributes.h"
#include "command_codes.h"
#include "dorvaview.h"
#include "localization.h"
#include "output_catalogue.h"
#include "window_sizing.h"

// Scroll bars are this wide (inclusive: 15 pixels), and the canvas starts below the menu bar.
static const float kScrollBarSize = 14;
static const float kMenuBarBottom = 20;
static const float kSmallScrollStep = 10;

dorvawindow::dorvawindow(BRect frame)
	: BWindow(frame, "dorva ver.0.00", B_DOCUMENT_WINDOW, 0, B_CURRENT_WORKSPACE),
	  canvas(nullptr), vbar(nullptr), hbar(nullptr)
{
	get_translator_for_output();

	const float W = frame.Width();
	const float H = frame.Height();
	BRect canvasFrame(0, 0, W - kScrollBarSize, H - kWindowExtraHeight);
	canvasFrame.OffsetTo(0, kMenuBarBottom);
	canvas = new dorvaview(canvasFrame);
	AddChild(canvas);

	setupmenus();

	const float cw = canvasFrame.Width();
	const float ch = canvasFrame.Height();
	vbar = new BScrollBar(BRect(0, 0, kScrollBarSize, ch + 2).OffsetToCopy(cw + 1, 19),
		"scrollv", canvas, 0, 0, B_VERTICAL);
	AddChild(vbar);
	hbar = new BScrollBar(BRect(0, 0, cw + 2, kScrollBarSize).OffsetToCopy(-1, ch + 21),
		"scrollh", canvas, 0, 0, B_HORIZONTAL);
	AddChild(hbar);

	FrameResized(W, H);
	resizeview(0, 0);
	Show();
	SetPulseRate(100000);
}

dorvawindow::~dorvawindow() = default;

void dorvawindow::setupmenus()
{
	auto* bar = new BMenuBar(BRect(0, 0, 20, 20), "menubar", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
		B_ITEMS_IN_ROW, true);

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
	message->AddInt16("config", 2);
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

	// What does not fit: each bar is 2 longer than the canvas side it runs along.
	const float v = P.Height() - vb.Height() + 2;
	const float h = P.Width() - hb.Width() + 2;
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
	for (int32 i = 0; xlt.ItemAt(i) != nullptr; i++)
		delete static_cast<s_xlt*>(xlt.ItemAt(i));
	// The records are gone; the list must not hand them out again.
	xlt.MakeEmpty();

	BMessenger(be_app).SendMessage(B_QUIT_REQUESTED);
	return true;
}
