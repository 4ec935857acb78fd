// The view that fills the configuration window: six text controls for the calendar's
// colours, two menu fields for its fonts, and the "set" button that makes the canvas draw
// itself again. Every committed text and every chosen font goes into atr at once.
#pragma once

#include "View.h"

class BButton;
class BMenuField;
class BPopUpMenu;
class BTextControl;

class configview : public BView {
public:
	explicit configview(BRect frame);
	~configview() override;

	void MessageReceived(BMessage* message) override;
	void AttachedToWindow() override;
	void Draw(BRect updateRect) override;

	// A new pop-up menu with one item per installed family and style; which is 1 for the
	// month font and 2 for the day font. The menu passes to the field that shows it.
	BPopUpMenu* setupfontmenu(int which);

	// In the order of atr's colour fields: bg_col, month_col, week_col, sun_col, sat_col,
	// holy_col. The view tree owns the controls.
	BTextControl* color_text[6];
	BMenuField* month_font_field;
	BMenuField* day_font_field;
	BButton* set_button;

private:
	void _read_colors();
	void _font_chosen(BMessage* message);
};
