#include "PrintTesting.h"

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
}

} // namespace kit
