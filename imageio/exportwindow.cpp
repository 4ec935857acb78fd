#include "exportwindow.h"

#include <cstdio>

#include "StatusBar.h"

// The window's content: the status bar with a margin around it.
static const float kMargin = 10;
static const float kWidth = 320;
static const float kHeight = 56;

exportwindow::exportwindow(BPoint where, const char* name, const BMessage* request)
	: BWindow(BRect(where.x, where.y, where.x + kWidth - 1, where.y + kHeight - 1), "Exporting",
		B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE | B_NOT_CLOSABLE),
	  bar(nullptr), request(request != nullptr ? *request : BMessage()), answer(request != nullptr)
{
	BView* panel = new BView(Bounds(), "panel", B_FOLLOW_ALL, B_WILL_DRAW);
	panel->SetViewColor(216, 216, 216);
	AddChild(panel);
	bar = new BStatusBar(
		BRect(kMargin, kMargin, kWidth - 1 - kMargin, kHeight - 1 - kMargin), "progress", name);
	panel->AddChild(bar);
}

void exportwindow::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case MSG_EXPORT_PROGRESS:
			_progress(message);
			break;
		case MSG_EXPORT_DONE:
			_done(message);
			break;
		default:
			BWindow::MessageReceived(message);
			break;
	}
}

// The first report comes only once the export has run for half a second: the window shows
// itself then.
void exportwindow::_progress(BMessage* message)
{
	int64 done = 0;
	int64 total = 0;
	if (message->FindInt64("done", &done) != B_OK || message->FindInt64("total", &total) != B_OK)
		return;
	if (IsHidden())
		Show();
	if (total <= 0)
		return;
	float percent = float(double(done) * 100.0 / double(total));
	char trailing[16];
	std::snprintf(trailing, sizeof(trailing), "%d%%", int(percent));
	bar->Update(percent - bar->CurrentValue(), nullptr, trailing);
}

void exportwindow::_done(BMessage* message)
{
	int32 status = B_ERROR;
	message->FindInt32("status", &status);
	// A sender that waits for the answer learns whether the file was written.
	if (answer) {
		BMessage reply(B_REPLY);
		reply.AddInt32("error", status);
		request.SendReply(&reply);
	}
	Quit();
}
