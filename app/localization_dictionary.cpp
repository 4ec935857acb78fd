// The localized program: the dictionary lies in the program's folder, under
// Language/Dictionaries, named after the program; the locale service picks the language.
#include "localization.h"

#include "Application.h"
#include "Locale.h"
#include "Path.h"
#include "program_name.h"

void load_language_dictionary(BApplication* application)
{
	// Nothing here is checked: when the executable's folder cannot be found, the paths stay
	// uninitialised, Path() gives no text, and the service then simply has no dictionary,
	// so the menus show their plain labels.
	app_info info;
	application->GetAppInfo(&info);
	BPath executable(&info.ref);
	BPath folder;
	executable.GetParent(&folder);

	BPath dictionary(folder);
	dictionary.Append("Language/Dictionaries", false);
	dictionary.Append(kProgramName, false);
	be_locale.LoadLanguageFile(dictionary.Path());
}

const char* menu_label(const char* key)
{
	return be_locale.GetString(key);
}
