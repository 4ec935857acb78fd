#include "PrintTesting.h"

#include "PageScale.h"
#include "TestingHooks.h"

namespace kit {

std::optional<testing::PrintAnswers>& hooks::PrintAnswers()
{
	static std::optional<testing::PrintAnswers> answers;
	return answers;
}

void testing::SetPrintAnswers(const PrintAnswers& answers)
{
	hooks::PrintAnswers() = answers;
}

void testing::ClearPrintAnswers()
{
	hooks::PrintAnswers().reset();
	RunPageScale() = B_PRINT_SCALE_ACTUAL_SIZE;
}

} // namespace kit
