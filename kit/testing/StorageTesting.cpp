#include "StorageTesting.h"

#include "TestingHooks.h"

namespace kit {

bool& hooks::RefuseTemporaryFiles()
{
	static bool refuse = false;
	return refuse;
}

} // namespace kit

namespace kit::testing {

void RefuseTemporaryFiles(bool refuse)
{
	hooks::RefuseTemporaryFiles() = refuse;
}

} // namespace kit::testing
