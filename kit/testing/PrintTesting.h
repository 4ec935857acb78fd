// Answers the print dialogs in tests: whether each setup is confirmed, and the PDF file
// that the job then writes.
#pragma once

#include <string>

namespace kit::testing {

struct PrintAnswers {
	bool confirmPage = true;
	bool confirmJob = true;
	std::string pdfPath;
};

// Until cleared, print jobs take these answers instead of showing their dialogs.
void SetPrintAnswers(const PrintAnswers& answers);
void ClearPrintAnswers();

} // namespace kit::testing
