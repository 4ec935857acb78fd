// The canvas: the main window's view that shows the picture with the calendar over it and
// handles every command and drop that reaches the window.
#pragma once

#include "Bitmap.h"
#include "EntryRef.h"
#include "View.h"

class BFilePanel;

// Length of the picture's name, with its terminator.
const size_t kTitleSize = 64;

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

	BBitmap* image;     // the picture, owned; null while the canvas is empty
	BFilePanel* panel;  // the open or save panel while one is shown
	int16 format_no;    // index into xlt of the format of the pending export
	char title[kTitleSize]; // the picture's name

private:
	void show_export_panel(BMessage* message);
	void save_requested(BMessage* message);
	void _paste_dropped(BMessage* message);
	void _negotiate_drop(BMessage* message);
	void _print();
};

// Copies text into title's buffer, shortening it at a character boundary if it is too long.
void set_title(char (&title)[kTitleSize], const char* text);
