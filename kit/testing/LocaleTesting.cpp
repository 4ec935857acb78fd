#include "LocaleTesting.h"

#include <QLocale>
#include <QString>

#include "LocaleHooks.h"

namespace kit::testing {

void SetLanguage(const char* localeName)
{
	// The service asks QLocale() for the user's languages, which is the environment's
	// locale until a default is set.
	QLocale::setDefault(localeName != nullptr ? QLocale(QString::fromUtf8(localeName))
											  : QLocale::system());
}

void SetLanguageFileObserver(LanguageFileObserver observer)
{
	kit::LanguageFileObserver() = std::move(observer);
}

void SetLocaleLookupObserver(LocaleLookupObserver observer)
{
	kit::LocaleLookupObserver() = std::move(observer);
}

} // namespace kit::testing
