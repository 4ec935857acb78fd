// The application object: creates the main window, hands the command line's files to the
// canvas, and relays what the file panels and the system send it to the canvas.
#pragma once

#include "Application.h"

class dorvawindow;

class dorva : public BApplication {
public:
	dorva(int argc, char** argv);
	~dorva() override;

	void MessageReceived(BMessage* message) override;
	void RefsReceived(BMessage* message) override;
	void AboutRequested() override;

	dorvawindow* main_window;

private:
	void _send_to_canvas(BMessage* message);
	void _forward_save(BMessage* message);
	void _forward_cancel();
};

// The program's entry: reads the command line's options first (2 for a bad command line,
// 0 after --help or --version), then 1 when the system offers no translator roster, else 0
// once the application has quit.
int dorva_main(int argc, char** argv);
