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
//   imageio/export.cpp             save, _show_export_panel, _save_requested
//   imageio/print.cpp              _print
#pragma once

#include "Bitmap.h"
#include "EntryRef.h"
#include "SupportDefs.h"
#include "View.h"
#include "what_day_2007.h"
#include "window_title.h"

class BFilePanel;

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
