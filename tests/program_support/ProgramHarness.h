// Starts the program's application object in a test and records what reaches the canvas.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "KitTesting.h"
#include "Message.h"
#include "dorva.h"
#include "dorvaview.h"
#include "dorvawindow.h"

// Puts the program's globals back to their state at program start.
void reset_program_globals();

class ProgramHarness {
public:
	// Starts the application with these command-line arguments (argv[0] is added).
	explicit ProgramHarness(const std::vector<std::string>& arguments = {});
	~ProgramHarness();

	dorva* App() const { return fApp.get(); }
	dorvawindow* Window() const { return fApp->main_window; }
	dorvaview* Canvas() const { return fApp->main_window->canvas; }

	// Messages dispatched to the canvas since the start (or the last Clear()).
	const std::vector<BMessage>& CanvasMessages() const { return *fCanvasMessages; }
	void ClearCanvasMessages() { fCanvasMessages->clear(); }

	void Idle() const { kit::testing::RunUntilIdle(); }

private:
	std::vector<std::string> fArguments;
	std::vector<char*> fArgv;
	std::unique_ptr<dorva> fApp;
	std::shared_ptr<std::vector<BMessage>> fCanvasMessages;
};
