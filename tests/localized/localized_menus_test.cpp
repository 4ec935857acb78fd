#include <gtest/gtest.h>

#include <unistd.h>

#include <string>
#include <vector>

#include "Alert.h"
#include "Locale.h"
#include "LocaleTesting.h"
#include "Menu.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "ProgramHarness.h"
#include "canvas_codes.h"
#include "dorvaview.h"

namespace {

// The folder of this test program: the localized program looks for its dictionary beside
// its own executable file, and the build puts the dictionaries beside the tests too.
std::string executable_folder()
{
	char path[4096];
	ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
	if (length <= 0)
		return "";
	std::string full(path, size_t(length));
	return full.substr(0, full.rfind('/'));
}

// What the menus look like: each menu's title, then its items' labels and message codes.
struct MenuItemSeen {
	std::string label;
	uint32 what;
	bool operator==(const MenuItemSeen&) const = default;
};
struct MenuSeen {
	std::string title;
	std::vector<MenuItemSeen> items;
	bool operator==(const MenuSeen&) const = default;
};

std::vector<MenuSeen> menus_of(BWindow* window)
{
	std::vector<MenuSeen> menus;
	BMenuBar* bar = window->KeyMenuBar();
	for (int32 i = 0; bar != nullptr && i < bar->CountItems(); i++) {
		BMenu* menu = bar->SubmenuAt(i);
		MenuSeen seen{menu->Name(), {}};
		for (int32 j = 0; j < menu->CountItems(); j++) {
			BMenuItem* item = menu->ItemAt(j);
			seen.items.push_back({item->Label(), item->Message() ? item->Message()->what : 0});
		}
		menus.push_back(seen);
	}
	return menus;
}

// The About box's text as the File menu's third item shows it.
std::string about_text(ProgramHarness& program)
{
	std::string text;
	kit::testing::SetAlertResponder([&](BAlert* alert) {
		text = std::string(alert->Title()) + "|" + alert->Text() + "|" + alert->ButtonLabel(0);
		return 0;
	});
	program.Window()->KeyMenuBar()->SubmenuAt(0)->ItemAt(2)->Invoke();
	program.Idle();
	kit::testing::SetAlertResponder(nullptr);
	return text;
}

class LocalizedProgram : public ::testing::Test {
protected:
	void TearDown() override
	{
		kit::testing::SetLanguageFileObserver(nullptr);
		kit::testing::SetLocaleLookupObserver(nullptr);
		kit::testing::SetLanguage(nullptr);
		be_locale.LoadLanguageFile(nullptr);
	}
};

TEST_F(LocalizedProgram, LoadsTheDictionaryBesideItselfThenLooksUpTheSixLabelsOnce)
{
	std::vector<std::string> calls;
	kit::testing::SetLanguageFileObserver([&](const char* path) {
		calls.push_back(std::string("load ") + (path != nullptr ? path : "(null)"));
	});
	kit::testing::SetLocaleLookupObserver(
		[&](const char* key, const char*) { calls.push_back(std::string("get ") + key); });
	kit::testing::SetLanguage("ja_JP");

	ProgramHarness program;
	EXPECT_EQ(calls,
		(std::vector<std::string>{"load " + executable_folder() + "/Language/Dictionaries/dorva",
			"get File", "get Open", "get Print", "get About", "get Quit", "get Config"}));

	// Using the program looks nothing up again.
	calls.clear();
	about_text(program);
	program.Window()->KeyMenuBar()->SubmenuAt(1)->ItemAt(0)->Invoke();
	program.Idle();
	EXPECT_TRUE(calls.empty());
}

TEST_F(LocalizedProgram, JapaneseMenusAndEverythingElseAsInThePlainProgram)
{
	kit::testing::SetLanguage("sv_SE");
	std::vector<MenuSeen> plainMenus;
	std::string plainTitle, plainAbout;
	{
		ProgramHarness program;
		plainMenus = menus_of(program.Window());
		plainTitle = program.Window()->Title();
		plainAbout = about_text(program);
	}

	kit::testing::SetLanguage("ja_JP");
	ProgramHarness program;
	std::vector<MenuSeen> menus = menus_of(program.Window());
	EXPECT_EQ(menus,
		(std::vector<MenuSeen>{
			{"ファイル",
				{{"開く", CMD_FILE_OPEN}, {"印刷", CMD_FILE_PRINT},
					{"バージョン情報", B_ABOUT_REQUESTED}, {"終了", B_QUIT_REQUESTED}}},
			{"設定", {{"color", CMD_CONFIG}}}}));
	EXPECT_EQ(program.Window()->Title(), plainTitle);
	EXPECT_EQ(about_text(program), plainAbout);
	EXPECT_NE(plainAbout.find("dorva ver.0.00   2007.1.1\n"), std::string::npos);

	// Apart from the six labels, the menus are the plain program's.
	ASSERT_EQ(menus.size(), plainMenus.size());
	for (size_t i = 0; i < menus.size(); i++) {
		ASSERT_EQ(menus[i].items.size(), plainMenus[i].items.size());
		for (size_t j = 0; j < menus[i].items.size(); j++)
			EXPECT_EQ(menus[i].items[j].what, plainMenus[i].items[j].what);
	}
	BMessage* config = program.Window()->KeyMenuBar()->SubmenuAt(1)->ItemAt(0)->Message();
	int16 value = 0;
	EXPECT_EQ(config->FindInt16("config", &value), B_OK);
	EXPECT_EQ(value, 2);
}

TEST_F(LocalizedProgram, ALanguageWithoutADictionaryShowsThePlainLabels)
{
	kit::testing::SetLanguage("sv_SE");
	ProgramHarness program;
	EXPECT_EQ(menus_of(program.Window()),
		(std::vector<MenuSeen>{{"File",
								   {{"Open", CMD_FILE_OPEN}, {"Print", CMD_FILE_PRINT},
									   {"About", B_ABOUT_REQUESTED}, {"Quit", B_QUIT_REQUESTED}}},
			{"Config", {{"color", CMD_CONFIG}}}}));
	EXPECT_STREQ(program.Window()->Title(), "dorva ver.0.00");
}

TEST_F(LocalizedProgram, TheTranslatedQuitItemEndsTheProgram)
{
	kit::testing::SetLanguage("ja_JP");
	ProgramHarness program;
	BMenuItem* quit = program.Window()->KeyMenuBar()->SubmenuAt(0)->FindItem("終了");
	ASSERT_NE(quit, nullptr);
	quit->Invoke();
	program.App()->Run();
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

} // namespace
