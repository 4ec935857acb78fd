// The canvas: the main window's view that shows the picture with the calendar over it and
// handles every command and drop that reaches the window.
//
// Where its methods are. Its state and drawing are in canvas/, what it does with commands,
// files and drops in imageio/:
//   canvas/dorvaview.cpp           constructor, destructor, AttachedToWindow
//   canvas/calendar_drawing.cpp    Draw, draw_cal
//   canvas/redraw.cpp              redraw
//   canvas/what_day.cpp            what_day
//   imageio/canvas_dispatch.cpp    MessageReceived and the commands it handles itself:
//                                  _data_received, _show_open_panel, _forget_panel,
//                                  _close_picture, _open_config_window
//   imageio/load.cpp               load
//   imageio/paste.cpp              _paste_dropped
//   imageio/drop_negotiation.cpp   _negotiate_drop
//   imageio/export.cpp             save, _show_export_panel, _save_requested (the
//                                  writing runs in the background, followed by the
//                                  window of imageio/exportwindow.cpp)
//   imageio/print.cpp              _print
#pragma once

#include "Bitmap.h"
#include "EntryRef.h"
#include "SupportDefs.h"
#include "View.h"
#include "window_title.h"

class BFilePanel;

// The commands the canvas receives: from the menus, the configuration window's "set"
// button, and other programs ("fiwr", "ficl" and "fifm" come from no menu).
enum : uint32 {
	CMD_FILE_OPEN = kit_code("fiop"),
	CMD_FILE_PRINT = kit_code("fipr"),
	CMD_FILE_CLOSE = kit_code("ficl"),
	CMD_FILE_WRITE = kit_code("fiwr"),
	CMD_CONFIG = kit_code("conf"),
	CMD_SET_PRESSED = kit_code("Bhit"),
	// Another program asks which formats a picture can be exported to.
	CMD_LIST_FORMATS = kit_code("fifm"),
};

// The one year the calendar shows.
const int kCalendarYear = 2007;
// Weekdays are numbered from Sunday (0) to Saturday (6).
const int kSunday = 0;
const int kSaturday = 6;

// What what_day answers: a valid date, or the worst fault of one that is not.
enum : int {
	DATE_VALID = 0,
	DATE_OTHER_YEAR = 1,
	DATE_BAD_MONTH = 2,
	DATE_BAD_DAY = 3,
};

class dorvaview : public BView {
public:
	explicit dorvaview(BRect frame);
	~dorvaview() override;

	void MessageReceived(BMessage* message) override;
	void AttachedToWindow() override;
	void Draw(BRect updateRect) override;

	// Brings pic, the window's size and title, and the drawing up to date after the picture
	// changed; resize fits the window to the picture.
	void redraw(bool resize);
	void draw_cal();
	// Whether a date exists in the calendar's year and where it stands; see what_day.cpp.
	int what_day(int year, int month, int day, int* row, int* weekday, int* holiday);
	void load(entry_ref& ref);
	// Exports the picture into the folder under the name; B_OK once the file is in place.
	status_t save(entry_ref& directory, const char* name);

	BBitmap* image;         // the picture, owned; null while the canvas is empty
	BFilePanel* panel;      // the open or save panel while one is shown
	int16 format_no;        // index into xlt of the format of the pending export
	char title[kTitleSize]; // the picture's name

private:
	void _data_received(BMessage* message);
	void _show_open_panel();
	void _forget_panel();
	void _close_picture();
	void _open_config_window();
	void _show_export_panel(BMessage* message);
	void _save_requested(BMessage* message);
	void _paste_dropped(BMessage* message);
	void _negotiate_drop(BMessage* message);
	void _print();

	// Printed fitted to the page: the whole picture, its band laid out on the picture as
	// on screen, whatever part of the canvas the window shows.
	bool fPrintingWhole = false;
};
