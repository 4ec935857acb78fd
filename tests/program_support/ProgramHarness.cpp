#include "ProgramHarness.h"

#include <cstring>

#include "PanelTesting.h"
#include "calendar_attributes.h"
#include "calendar_settings.h"
#include "cwin.h"
#include "output_catalogue.h"
#include "pic.h"

void reset_program_globals()
{
	free_output_catalogue();
	trc = 0;
	pic = BRect();
	std::memset(&atr, 0, sizeof(atr));
	cal.reset();
	cwin = false;
}

ProgramHarness::ProgramHarness(const std::vector<std::string>& arguments)
	: fArguments(arguments), fCanvasMessages(std::make_shared<std::vector<BMessage>>())
{
	reset_program_globals();
	if (tr == nullptr)
		tr = BTranslatorRoster::Default();
	fArguments.insert(fArguments.begin(), "dorva");
	for (std::string& argument : fArguments)
		fArgv.push_back(argument.data());
	fArgv.push_back(nullptr);

	// Record before the application exists, so the command line's message is seen too.
	auto messages = fCanvasMessages;
	kit::testing::SetDispatchObserver([messages](BHandler* handler, const BMessage& message) {
		if (dynamic_cast<dorvaview*>(handler) != nullptr)
			messages->push_back(message);
	});
	fApp = std::make_unique<dorva>(int(fArgv.size()) - 1, fArgv.data());
	kit::testing::RunUntilIdle();
}

ProgramHarness::~ProgramHarness()
{
	// A file panel the test left open is closed as a person would close it, so that the
	// canvas lets it go; it would otherwise stay shown into the next test of the process.
	for (BFilePanel* panel : kit::testing::ShownFilePanels())
		kit::testing::CancelFilePanel(panel);
	kit::testing::RunUntilIdle();

	kit::testing::SetDispatchObserver(nullptr);
	kit::testing::SetAlertResponder(nullptr);
	fApp.reset();
	kit::testing::RunUntilIdle();
	reset_program_globals();
}
