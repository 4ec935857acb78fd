#include "StorageTesting.h"

#include "TestingHooks.h"

namespace kit::testing {

void RefuseTemporaryFiles(bool refuse)
{
	hooks::RefuseTemporaryFiles() = refuse;
}

} // namespace kit::testing
