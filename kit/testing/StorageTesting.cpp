#include "StorageTesting.h"

#include "TestingHooks.h"

namespace kit {

bool& hooks::RefuseTemporaryFiles()
{
	static bool refuse = false;
	return refuse;
}

bool& hooks::UseNamedTemporaryFiles()
{
	static bool named = false;
	return named;
}

} // namespace kit

namespace kit::testing {

void RefuseTemporaryFiles(bool refuse)
{
	hooks::RefuseTemporaryFiles() = refuse;
}

void UseNamedTemporaryFiles(bool named)
{
	hooks::UseNamedTemporaryFiles() = named;
}

} // namespace kit::testing
