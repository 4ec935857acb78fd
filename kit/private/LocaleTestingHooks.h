// Where the locale service's testing code (kit/testing/LocaleTesting.cpp) reaches into the
// service: observers that are empty until a test sets them, kept in the service itself
// (locale/LocaleTestingHooks.cpp).
#pragma once

#include <functional>

namespace kit::hooks {

// Sees the path of each language file the service loads.
std::function<void(const char* path)>& LanguageFileObserver();
// Sees each text the service looks up, with what it found.
std::function<void(const char* key, const char* text)>& LocaleLookupObserver();

} // namespace kit::hooks
