// Answers the print dialogs in tests: whether each setup is confirmed, the scale picked in
// the page setup, and the PDF file that the job then writes.
#pragma once

#include <optional>
#include <string>

#include "PrintJob.h"

namespace kit::testing {

struct PrintAnswers {
	bool confirmPage = true;
	bool confirmJob = true;
	std::string pdfPath;
	// The page setup's scale; unset leaves the one the run has (at first 100%).
	std::optional<print_scale> scale;
};

// Until cleared, print jobs take these answers instead of showing their dialogs.
void SetPrintAnswers(const PrintAnswers& answers);
// Clearing the answers also puts the page setup's scale back to 100%, as a new run has it.
void ClearPrintAnswers();

} // namespace kit::testing
