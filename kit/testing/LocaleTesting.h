// What tests use to drive the locale service: choosing the language without touching the
// environment, and seeing what the program asks of the service. The program never uses it.
#pragma once

#include <functional>

namespace kit::testing {

// Makes the service choose dictionaries for this locale name ("ja_JP", "sv_SE", "C")
// instead of the environment's. Null goes back to the environment's locale.
void SetLanguage(const char* localeName);

// Sees every LoadLanguageFile call with its path (null stays null). An empty function
// removes the observer.
using LanguageFileObserver = std::function<void(const char* path)>;
void SetLanguageFileObserver(LanguageFileObserver observer);

// Sees every GetString call with its key and the text it returns. An empty function
// removes the observer.
using LocaleLookupObserver = std::function<void(const char* key, const char* text)>;
void SetLocaleLookupObserver(LocaleLookupObserver observer);

} // namespace kit::testing
