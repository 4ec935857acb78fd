// The observers through which the testing library watches the locale service; see
// private/LocaleTestingHooks.h.
#include "LocaleTestingHooks.h"

namespace kit::hooks {

std::function<void(const char* path)>& LanguageFileObserver()
{
	static std::function<void(const char*)> observer;
	return observer;
}

std::function<void(const char* key, const char* text)>& LocaleLookupObserver()
{
	static std::function<void(const char*, const char*)> observer;
	return observer;
}

} // namespace kit::hooks
