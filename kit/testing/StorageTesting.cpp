#include "StorageTesting.h"

#include "TestingHooks.h"

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
