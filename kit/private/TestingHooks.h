// Where the kit's testing library (kit/testing/, which only tests link) reaches into the
// kit. Each hook is empty until a test sets it; the kit only asks whether it is set and then
// leaves the work to it. The hooks live in the kit itself (support/TestingHooks.cpp), so the
// kit needs nothing of the testing library.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "PrintJob.h"
#include "SupportDefs.h"

class BAlert;
class BHandler;
class BMessage;
class BTranslatorRoster;

namespace kit::hooks {

// Sees each message just before a looper dispatches it.
std::function<void(BHandler* handler, const BMessage& message)>& DispatchObserver();
// Answers BAlert::Go() in place of the dialog: the index of the button pressed.
std::function<int32(BAlert* alert)>& AlertResponder();

// How the print job's page and job setup are answered in place of their dialogs.
struct PrintDialogAnswers {
	bool confirmPage = true;
	bool confirmJob = true;
	std::string pdfPath;
	// The page setup's scale; unset leaves the one the run has.
	std::optional<print_scale> scale;
};
std::optional<PrintDialogAnswers>& PrintAnswers();

// Stands in for the system's translator roster while active; a null roster then stands for
// a system without image formats.
struct RosterOverride {
	bool active = false;
	BTranslatorRoster* roster = nullptr;
};
RosterOverride& DefaultRosterOverride();

// While true, safe-write files find the folder refusing their temporary file, as a folder
// that the user may not write does (which the superuser's tests cannot otherwise see).
bool& RefuseTemporaryFiles();
// While true, safe-write files make named temporary files, never unnamed ones.
bool& UseNamedTemporaryFiles();

} // namespace kit::hooks
