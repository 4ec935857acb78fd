#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Locale.h"
#include "LocaleTesting.h"

using Z::Locale::BLocale;

namespace {

const std::string kDictionaries = DORVA_TEST_DICTIONARIES;
const std::string kDictionary = kDictionaries + "/dorva";

const char* const kKeys[] = {"File", "Open", "Print", "About", "Quit", "Config"};

// Each test chooses its language; none depends on the machine's locale.
class LocaleService : public ::testing::Test {
protected:
	void TearDown() override
	{
		kit::testing::SetLanguageFileObserver(nullptr);
		kit::testing::SetLocaleLookupObserver(nullptr);
		kit::testing::SetLanguage(nullptr);
	}

	// The six labels as the service gives them after loading path for this language.
	static std::vector<std::string> labels_for(const char* language, const char* path)
	{
		kit::testing::SetLanguage(language);
		BLocale locale;
		locale.LoadLanguageFile(path);
		std::vector<std::string> labels;
		for (const char* key : kKeys)
			labels.push_back(locale.GetString(key));
		return labels;
	}

	const std::vector<std::string> fPlain{"File", "Open", "Print", "About", "Quit", "Config"};
};

TEST_F(LocaleService, WithoutADictionaryEveryKeyIsItsOwnText)
{
	BLocale locale;
	const char* key = "Open";
	EXPECT_EQ(locale.GetString(key), key);
	const char* none = locale.GetString(nullptr);
	ASSERT_NE(none, nullptr);
	EXPECT_STREQ(none, "");
	// The program's own service starts empty too.
	EXPECT_STREQ(be_locale.GetString("Quit"), "Quit");
}

TEST_F(LocaleService, JapaneseLocaleLoadsTheJapaneseDictionary)
{
	EXPECT_EQ(labels_for("ja_JP", kDictionary.c_str()),
		(std::vector<std::string>{"ファイル", "開く", "印刷", "バージョン情報", "終了", "設定"}));
}

TEST_F(LocaleService, ARegionWithoutItsOwnDictionaryTakesItsLanguages)
{
	EXPECT_EQ(labels_for("de_AT", kDictionary.c_str())[0], "Datei");
	EXPECT_EQ(labels_for("fr_CA", kDictionary.c_str())[3], "À propos de dorva");
	EXPECT_EQ(labels_for("es_MX", kDictionary.c_str())[5], "Configuración");
}

TEST_F(LocaleService, ALanguageWithoutADictionaryKeepsThePlainTexts)
{
	EXPECT_EQ(labels_for("sv_SE", kDictionary.c_str()), fPlain);
	EXPECT_EQ(labels_for("C", kDictionary.c_str()), fPlain);
}

TEST_F(LocaleService, PathsThatNameNoDictionaryLeaveThePlainTexts)
{
	const std::string missingFolder = kDictionaries + "/no-such-folder/dorva";
	const std::string otherName = kDictionaries + "/another-program";
	const std::string folderOnly = kDictionaries + "/";
	for (const char* path :
		{missingFolder.c_str(), otherName.c_str(), folderOnly.c_str(), "", "dorva", "/"}) {
		EXPECT_EQ(labels_for("ja_JP", path), fPlain) << "path \"" << path << "\"";
	}
	EXPECT_EQ(labels_for("ja_JP", nullptr), fPlain);
}

TEST_F(LocaleService, KeysTheDictionaryLacksStayAsTheyAre)
{
	kit::testing::SetLanguage("ja_JP");
	BLocale locale;
	locale.LoadLanguageFile(kDictionary.c_str());
	const char* color = "color";
	EXPECT_EQ(locale.GetString(color), color);
	// Lookups use the exact key: another spelling is not in the dictionary.
	EXPECT_STREQ(locale.GetString("file"), "file");
	EXPECT_STREQ(locale.GetString(""), "");
}

TEST_F(LocaleService, LoadingAgainReplacesTheDictionaryButNotTheTextsHandedOut)
{
	kit::testing::SetLanguage("ja_JP");
	BLocale locale;
	locale.LoadLanguageFile(kDictionary.c_str());
	const char* japanese = locale.GetString("File");
	EXPECT_STREQ(japanese, "ファイル");
	EXPECT_EQ(locale.GetString("File"), japanese);

	kit::testing::SetLanguage("de_DE");
	locale.LoadLanguageFile(kDictionary.c_str());
	EXPECT_STREQ(locale.GetString("File"), "Datei");
	EXPECT_STREQ(japanese, "ファイル");

	// A dictionary that cannot be found leaves none: the German texts go too.
	locale.LoadLanguageFile((kDictionaries + "/missing/dorva").c_str());
	EXPECT_STREQ(locale.GetString("File"), "File");
	EXPECT_STREQ(japanese, "ファイル");
}

TEST_F(LocaleService, ObserversSeeLoadsAndLookupsAsTheyHappen)
{
	std::vector<std::string> seen;
	kit::testing::SetLanguageFileObserver([&](const char* path) {
		seen.push_back(std::string("load ") + (path != nullptr ? path : "(null)"));
	});
	kit::testing::SetLocaleLookupObserver([&](const char* key, const char* text) {
		seen.push_back(std::string("get ") + key + " = " + text);
	});
	kit::testing::SetLanguage("fr_FR");
	BLocale locale;
	locale.LoadLanguageFile(kDictionary.c_str());
	locale.GetString("Quit");
	locale.GetString("Quit");
	locale.LoadLanguageFile(nullptr);
	locale.GetString("Print");

	EXPECT_EQ(seen,
		(std::vector<std::string>{"load " + kDictionary, "get Quit = Quitter", "get Quit = Quitter",
			"load (null)", "get Print = Print"}));
}

} // namespace
