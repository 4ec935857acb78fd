#include "LocaleTesting.h"

#include <QLocale>
#include <QString>

#include "LocaleTestingHooks.h"

namespace kit {

void testing::SetLanguage(const char* localeName)
{
	// The service asks QLocale() for the user's languages, which is the environment's
	// locale until a default is set.
	QLocale::setDefault(
		localeName != nullptr ? QLocale(QString::fromUtf8(localeName)) : QLocale::system());
}

void testing::SetLanguageFileObserver(LanguageFileObserver observer)
{
	hooks::LanguageFileObserver() = std::move(observer);
}

void testing::SetLocaleLookupObserver(LocaleLookupObserver observer)
{
	hooks::LocaleLookupObserver() = std::move(observer);
}

} // namespace kit
