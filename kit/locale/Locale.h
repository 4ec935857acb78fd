// The locale service: a language dictionary for the user's language, and the lookup of a
// program's texts in it.
//
// A dictionary path names the dictionaries' folder and the dictionary's name, which is the
// program's, but no language, e.g. ".../Language/Dictionaries/program". The service picks
// the user's language from the environment's locale (LC_ALL, LC_MESSAGES, LANG; LANGUAGE
// lists preferred languages) and loads the best dictionary for it beside that name: for
// Japanese in Japan "program_ja_JP.qm", else "program_ja.qm", else the language-neutral
// "program.qm". A dictionary holds its texts in one context named like the dictionary
// ("program").
#pragma once

namespace Z {
namespace Locale {

class BLocale {
public:
	BLocale();
	~BLocale();
	BLocale(const BLocale&) = delete;
	BLocale& operator=(const BLocale&) = delete;

	// Replaces the dictionary with the one for the user's language at this path. A path
	// that names no dictionary for the language, an empty path or no path at all leaves
	// the service without a dictionary; nothing is reported either way.
	void LoadLanguageFile(const char* path);

	// The dictionary's text for key, or key itself when there is no dictionary or the
	// dictionary lacks the key ("" for a null key). A looked-up text stays valid for the
	// rest of the program, even after another dictionary has been loaded.
	const char* GetString(const char* key);

private:
	struct Private;
	Private* fPrivate;
};

} // namespace Locale
} // namespace Z

// The program's one locale service.
extern Z::Locale::BLocale be_locale;
