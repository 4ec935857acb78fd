#include "Locale.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "LocaleTestingHooks.h"

// Dictionaries are files "<name>_<language>.qm" beside the name that the path gives.
static const char kLanguageSeparator[] = "_";
static const char kDictionarySuffix[] = ".qm";

Z::Locale::BLocale be_locale;

struct Z::Locale::BLocale::Private {
	std::mutex lock;
	std::unique_ptr<QTranslator> dictionary;
	// A dictionary holds its texts in one context, named like the dictionary itself.
	QByteArray context;
	// Texts handed out, kept for the rest of the program: the program may hold a pointer
	// after the dictionary has been replaced. Each distinct text is stored once.
	std::unordered_set<std::string> texts;
	// Key to text for the current dictionary, so that a key is translated only once.
	std::unordered_map<std::string, const char*> lookedUp;
};

namespace Z::Locale {

BLocale::BLocale() : fPrivate(new Private)
{
}

BLocale::~BLocale()
{
	delete fPrivate;
}

void BLocale::LoadLanguageFile(const char* path)
{
	if (auto& observe = kit::hooks::LanguageFileObserver())
		observe(path);

	std::lock_guard<std::mutex> guard(fPrivate->lock);
	fPrivate->dictionary.reset();
	fPrivate->lookedUp.clear();
	if (path == nullptr || path[0] == '\0')
		return;

	const QFileInfo name(QFile::decodeName(path));
	if (name.fileName().isEmpty())
		return;
	// QLocale() is the environment's locale unless a test has chosen another. Loading tries
	// each of the user's languages, from the most to the least specific (ja_JP, then ja).
	auto dictionary = std::make_unique<QTranslator>();
	if (dictionary->load(
			QLocale(), name.fileName(), kLanguageSeparator, name.path(), kDictionarySuffix)) {
		fPrivate->dictionary = std::move(dictionary);
		fPrivate->context = name.fileName().toUtf8();
	}
}

const char* BLocale::GetString(const char* key)
{
	const char* text = key != nullptr ? key : "";
	if (key != nullptr) {
		std::lock_guard<std::mutex> guard(fPrivate->lock);
		auto found = fPrivate->lookedUp.find(key);
		if (found != fPrivate->lookedUp.end()) {
			text = found->second;
		} else if (fPrivate->dictionary) {
			const QString translation =
				fPrivate->dictionary->translate(fPrivate->context.constData(), key);
			if (!translation.isEmpty()) {
				text = fPrivate->texts.insert(translation.toStdString()).first->c_str();
				fPrivate->lookedUp.emplace(key, text);
			}
		}
	}
	if (auto& observe = kit::hooks::LocaleLookupObserver())
		observe(key, text);
	return text;
}

} // namespace Z::Locale
