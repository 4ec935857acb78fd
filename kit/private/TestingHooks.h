// Where the kit's testing code (kit/testing/) reaches into the kit. Each hook is empty until
// a test sets it; the kit only asks whether it is set and then leaves the work to it. The
// hooks are defined in kit/testing/, beside the functions through which tests set them.
#pragma once

#include <optional>

#include "KitTesting.h"
#include "PrintTesting.h"

class BTranslatorRoster;

namespace kit::hooks {

// Sees each message just before a looper dispatches it.
testing::DispatchObserver& DispatchObserver();
// Answers BAlert::Go() in place of the dialog.
testing::AlertResponder& AlertResponder();
// Answers the print job's page and job setup in place of their dialogs.
std::optional<testing::PrintAnswers>& PrintAnswers();

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
