#include "TranslationTesting.h"

#include "TestingHooks.h"

namespace kit {

void testing::SetDefaultRosterOverride(BTranslatorRoster* roster, bool active)
{
	hooks::RosterOverride& standIn = hooks::DefaultRosterOverride();
	standIn.active = active;
	standIn.roster = active ? roster : nullptr;
}

} // namespace kit
