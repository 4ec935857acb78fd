// The locale service's test observers, shared by Locale.cpp and LocaleTesting.cpp.
#pragma once

#include "LocaleTesting.h"

namespace kit {

kit::testing::LanguageFileObserver& LanguageFileObserver();
kit::testing::LocaleLookupObserver& LocaleLookupObserver();

} // namespace kit
