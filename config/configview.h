// The view that fills the configuration window: six text controls for the calendar's
// colours, two menu fields for its fonts, and the "set" button that makes the canvas draw
// itself again. Every committed text and every chosen font goes into atr at once.
#pragma once

#include "SupportDefs.h"
#include "View.h"

class BButton;
class BMenuField;
class BPopUpMenu;
class BTextControl;

// The messages of the view's controls, which they send to the view itself.
enum : uint32 {
	CMD_VALUE_CHANGED = kit_code("Vchg"), // a colour text was committed
	CMD_FONT_CHANGED = kit_code("Fchg"),  // a font menu item was chosen
};

// The calendar colours that the view edits, one text control each.
const int kColorCount = 6;
// Which font a font menu chooses (its items' int8 "font_menu").
const int kMonthFontMenu = 1;
const int kDayFontMenu = 2;

class configview : public BView {
public:
	explicit configview(BRect frame);
	~configview() override;

	void MessageReceived(BMessage* message) override;
	void AttachedToWindow() override;
	void Draw(BRect updateRect) override;

	// A new pop-up menu with one item per installed family and style; which is
	// kMonthFontMenu or kDayFontMenu. The menu passes to the field that shows it.
	BPopUpMenu* setupfontmenu(int which);

	// In the order of atr's colour fields: bg_col, month_col, week_col, sun_col, sat_col,
	// holy_col. The view tree owns the controls.
	BTextControl* color_text[kColorCount];
	BMenuField* month_font_field;
	BMenuField* day_font_field;
	BButton* set_button;

private:
	void _read_colors();
	void _font_chosen(BMessage* message);
};
