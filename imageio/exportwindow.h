// The small window that follows one export running in the background: it takes the export's
// progress reports and its end, shows itself with the file's name and how far the writing
// has come once the export has taken longer than half a second, and goes away by itself
// when the export is done. It answers the "SAVE" that asked for the export, if its sender
// waits for a reply, with the export's result.
//
// Quitting the program waits for the export before it asks the windows, so this window is
// gone, or about to go, by then. Closed by hand, it goes, and the export still ends with
// the file in place (its sender then gets no answer).
#pragma once

#include "Message.h"
#include "Window.h"

class BStatusBar;

// What the background export sends the window.
enum : uint32 {
	// int64 "done" and "total": how much of the picture has been written.
	MSG_EXPORT_PROGRESS = kit_code("expr"),
	// int32 "status": the export's result; B_OK once the file is in place.
	MSG_EXPORT_DONE = kit_code("exdn"),
};

class exportwindow : public BWindow {
public:
	// where: the window's top left corner on screen. name: the file's name. request: the
	// "SAVE" to answer, or null.
	exportwindow(BPoint where, const char* name, const BMessage* request);

	void MessageReceived(BMessage* message) override;

	BStatusBar* bar;

private:
	void _progress(BMessage* message);
	void _done(BMessage* message);

	BMessage request;
	bool answer;
};
