#include "PrintTesting.h"

#include "PageScale.h"
#include "TestingHooks.h"

namespace kit {

void testing::SetPrintAnswers(const PrintAnswers& answers)
{
	hooks::PrintAnswers() = hooks::PrintDialogAnswers{
		answers.confirmPage, answers.confirmJob, answers.pdfPath, answers.scale};
}

void testing::ClearPrintAnswers()
{
	hooks::PrintAnswers().reset();
	RunPageScale() = B_PRINT_SCALE_ACTUAL_SIZE;
}

} // namespace kit
