// Hooks that let tests decide what the system's translator roster is. The program never
// uses them.
#pragma once

class BTranslatorRoster;

namespace kit::testing {

// While active, BTranslatorRoster::Default() returns roster instead of the system's roster;
// a null roster stands for a system on which no image format is available. The caller keeps
// ownership of roster and must deactivate the override before deleting it.
void SetDefaultRosterOverride(BTranslatorRoster* roster, bool active);

} // namespace kit::testing
