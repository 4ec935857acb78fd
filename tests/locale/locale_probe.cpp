// Loads a dictionary with the language that the environment gives and checks one text:
//   locale_probe <dictionary path> <key> <expected text>
// Exits 0 when the service gives the expected text for the key. The tests run it with
// different LC_ALL, LC_MESSAGES, LANG and LANGUAGE values, since the environment's locale
// is read once per process.
#include <cstdio>
#include <cstring>

#include "Locale.h"

int main(int argc, char** argv)
{
	if (argc != 4) {
		std::fprintf(stderr, "usage: %s <dictionary path> <key> <expected text>\n", argv[0]);
		return 2;
	}
	be_locale.LoadLanguageFile(argv[1]);
	const char* text = be_locale.GetString(argv[2]);
	std::printf("%s -> %s\n", argv[2], text);
	return std::strcmp(text, argv[3]) == 0 ? 0 : 1;
}
