// The system's translator roster: set once by the program's entry, before anything else
// runs; it belongs to the platform. Loading, pasting, the output catalogue and export use it.
#pragma once

#include "TranslatorRoster.h"

extern BTranslatorRoster* tr;
