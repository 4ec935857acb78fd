// Where the locale service's testing code (kit/testing/LocaleTesting.cpp) reaches into the
// service: observers that are empty until a test sets them, defined beside the functions
// through which tests set them.
#pragma once

#include "LocaleTesting.h"

namespace kit::hooks {

testing::LanguageFileObserver& LanguageFileObserver();
testing::LocaleLookupObserver& LocaleLookupObserver();

} // namespace kit::hooks
