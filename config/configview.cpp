#include "configview.h"
#include "canvas_codes.h"

#include <cstdio>

#include "Button.h"
#include "MenuField.h"
#include "MenuItem.h"
#include "TextControl.h"
#include "calendar_attributes.h"
#include "color_scan.h"
#include "dorvaview.h"
#include "font_label.h"
#include "main_canvas.h"

namespace {

const uint32 kControlResizing = B_FOLLOW_LEFT | B_FOLLOW_TOP;
const uint32 kControlFlags = B_WILL_DRAW | B_NAVIGABLE;
const float kControlLeft = 20;
const float kControlRight = 180;
const float kControlHeight = 20;

// The six colour controls, in the order of atr's colour fields. Only bg_col carries an
// alpha byte, so it always shows all eight digits.
struct color_control {
	const char* name;
	const char* label;
	float top;
	uint32 calendar_attributes::*field;
	const char* format;
};

const color_control kColorControls[kColorCount] = {
	{"bg_col", "background_color", 25, &calendar_attributes::bg_col, "%08x"},
	{"month_col", "month_color", 50, &calendar_attributes::month_col, "%06x"},
	{"week_col", "weekday_color", 100, &calendar_attributes::week_col, "%06x"},
	{"sun_col", "sunday_color", 125, &calendar_attributes::sun_col, "%06x"},
	{"sat_col", "saturday_color", 150, &calendar_attributes::sat_col, "%06x"},
	{"holy_col", "holyday_color", 175, &calendar_attributes::holy_col, "%06x"},
};

// The month font's menu stands between the second and the third colour, the day font's
// below the last.
const int kColorsAboveMonthFont = 2;
const float kMonthFontTop = 75;
const float kDayFontTop = 200;
constexpr BRect kSetButtonFrame(200, 225, 240, 245);

// The view's colours: black text on a pale cyan, with grey glyph edges.
const rgb_color kTextColor = {0, 0, 0, 255};
const rgb_color kBackgroundColor = {200, 255, 255, 255};
const rgb_color kEdgeColor = {100, 100, 100, 255};

// Room for a colour's text: a 32-bit value takes at most eight hexadecimal digits.
const size_t kColorTextSize = 16;

BRect control_frame(float top)
{
	return BRect(kControlLeft, top, kControlRight, top + kControlHeight);
}

} // namespace

configview::configview(BRect frame)
	: BView(frame, "configview", B_FOLLOW_ALL_SIDES, B_WILL_DRAW), color_text{},
	  month_font_field(nullptr), day_font_field(nullptr), set_button(nullptr)
{
}

configview::~configview() = default;

void configview::AttachedToWindow()
{
	SetHighColor(kTextColor);
	SetViewColor(kBackgroundColor);
	SetLowColor(kEdgeColor);
	SetFont(be_bold_font, B_FONT_ALL);

	auto add_color_text = [this](int i) {
		const color_control& row = kColorControls[i];
		char text[kColorTextSize];
		std::snprintf(text, sizeof(text), row.format, atr.*row.field);
		color_text[i] = new BTextControl(control_frame(row.top), row.name, row.label, text,
			new BMessage(CMD_VALUE_CHANGED), kControlResizing, kControlFlags);
		color_text[i]->SetTarget(this);
		AddChild(color_text[i]);
	};

	for (int i = 0; i < kColorsAboveMonthFont; i++)
		add_color_text(i);
	month_font_field = new BMenuField(control_frame(kMonthFontTop), "month_font", "month_font",
		setupfontmenu(kMonthFontMenu), kControlResizing, kControlFlags);
	AddChild(month_font_field);
	for (int i = kColorsAboveMonthFont; i < kColorCount; i++)
		add_color_text(i);
	day_font_field = new BMenuField(control_frame(kDayFontTop), "day_font", "day_font",
		setupfontmenu(kDayFontMenu), kControlResizing, kControlFlags);
	AddChild(day_font_field);

	set_button = new BButton(kSetButtonFrame, "set", "set", new BMessage(CMD_SET_PRESSED),
		kControlResizing, kControlFlags);
	set_button->SetTarget(main_canvas());
	AddChild(set_button);

	// No text control has the keyboard focus when the window opens.
	MakeFocus(true);
}

BPopUpMenu* configview::setupfontmenu(int which)
{
	auto* menu = new BPopUpMenu("", true, true, B_ITEMS_IN_COLUMN);
	int32 families = count_font_families();
	for (int32 i = 0; i < families; i++) {
		font_family family;
		get_font_family(i, &family, nullptr);
		int32 styles = count_font_styles(family);
		for (int32 j = 0; j < styles; j++) {
			font_style style;
			get_font_style(family, j, &style, nullptr);
			// Room for both names, the parentheses and the terminator: nothing is cut.
			char label[B_FONT_FAMILY_LENGTH + B_FONT_STYLE_LENGTH + 3];
			std::snprintf(label, sizeof(label), "%s(%s)", family, style);
			auto* message = new BMessage(CMD_FONT_CHANGED);
			message->AddInt8("font_menu", int8(which));
			auto* item = new BMenuItem(label, message, 0, 0);
			item->SetTarget(this);
			menu->AddItem(item);
		}
	}
	menu->SetRadioMode(true);
	return menu;
}

void configview::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case CMD_VALUE_CHANGED:
			_read_colors();
			break;
		case CMD_FONT_CHANGED:
			_font_chosen(message);
			break;
		default:
			BView::MessageReceived(message);
			break;
	}
}

void configview::Draw(BRect)
{
	// Nothing to draw: the view colour fills the background around the controls.
}

// Every commit re-reads all six texts as they stand, each into its own colour. A text that
// cannot be read leaves its colour as it was; the canvas shows the colours when it next
// draws.
void configview::_read_colors()
{
	for (int i = 0; i < kColorCount; i++) {
		if (color_text[i] != nullptr)
			scan_color(color_text[i]->Text(), &(atr.*kColorControls[i].field));
	}
}

// The chosen item's label names the family and style; they go into the fields of the menu
// the item belongs to, unchecked: drawing falls back to the plain font for unknown names.
// The canvas draws in this same thread, so it never sees a name half copied.
void configview::_font_chosen(BMessage* message)
{
	int8 which = 0;
	void* source = nullptr;
	message->FindInt8("font_menu", &which);
	if (message->FindPointer("source", &source) != B_OK || source == nullptr)
		return;
	auto* item = static_cast<BMenuItem*>(source);
	if (which == kMonthFontMenu)
		split_font_label(item->Label(), &atr.month_family, &atr.month_style);
	else
		split_font_label(item->Label(), &atr.day_family, &atr.day_style);
}
