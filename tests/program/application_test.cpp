#include <gtest/gtest.h>

#include <unistd.h>

#include "Alert.h"
#include "MenuBar.h"
#include "MenuItem.h"
#include "ProgramHarness.h"
#include "TranslationTesting.h"
#include "output_catalogue.h"

namespace {

std::vector<BMessage> messages_with(const std::vector<BMessage>& all, uint32 what)
{
	std::vector<BMessage> found;
	for (const BMessage& message : all) {
		if (message.what == what)
			found.push_back(message);
	}
	return found;
}

std::string current_directory()
{
	char buffer[4096];
	return getcwd(buffer, sizeof(buffer)) ? buffer : "";
}

TEST(Application, WithoutArgumentsSendsNothingToTheCanvas)
{
	ProgramHarness program;
	EXPECT_TRUE(messages_with(program.CanvasMessages(), B_SIMPLE_DATA).empty());
}

TEST(Application, CommandLineFilesReachTheCanvasAsOneMessageInOrder)
{
	ProgramHarness program({"/tmp/one.png", "two.jpg", "/no/such/folder/three.tif"});
	auto data = messages_with(program.CanvasMessages(), B_SIMPLE_DATA);
	ASSERT_EQ(data.size(), 1u);
	type_code type;
	int32 count;
	ASSERT_EQ(data[0].GetInfo("refs", &type, &count), B_OK);
	ASSERT_EQ(count, 3);

	entry_ref ref;
	data[0].FindRef("refs", 0, &ref);
	EXPECT_EQ(ref, entry_ref("/tmp", "one.png"));
	// A relative name is taken from the current folder; it need not exist.
	data[0].FindRef("refs", 1, &ref);
	EXPECT_EQ(ref, entry_ref(current_directory(), "two.jpg"));
	// A name that cannot be an entry still adds one (empty) ref.
	data[0].FindRef("refs", 2, &ref);
	EXPECT_FALSE(ref.IsSet());
}

TEST(Application, ForwardsOpenedFilesPanelAnswersAndNothingElse)
{
	ProgramHarness program;
	BMessenger app(program.App());

	BMessage noRefs(B_REFS_RECEIVED);
	noRefs.AddString("other", "x");
	app.SendMessage(&noRefs);
	program.Idle();
	EXPECT_TRUE(messages_with(program.CanvasMessages(), B_SIMPLE_DATA).empty());

	BMessage opened(B_REFS_RECEIVED);
	entry_ref picture("/tmp", "picture.png");
	opened.AddRef("refs", &picture);
	opened.AddInt32("extra", 7);
	app.SendMessage(&opened);

	BMessage save(B_SAVE_REQUESTED);
	entry_ref folder("/", "tmp");
	save.AddRef("directory", &folder);
	save.AddString("name", "out.png");
	save.AddBool("unrelated", true);
	app.SendMessage(&save);

	BMessage cancel(B_CANCEL);
	cancel.AddInt32("old_what", 5);
	app.SendMessage(&cancel);
	program.Idle();

	auto data = messages_with(program.CanvasMessages(), B_SIMPLE_DATA);
	ASSERT_EQ(data.size(), 1u);
	EXPECT_EQ(data[0].CountNames(B_ANY_TYPE), 1);
	entry_ref ref;
	EXPECT_EQ(data[0].FindRef("refs", &ref), B_OK);
	EXPECT_EQ(ref, picture);

	auto saves = messages_with(program.CanvasMessages(), B_SAVE_REQUESTED);
	ASSERT_EQ(saves.size(), 1u);
	EXPECT_EQ(saves[0].CountNames(B_ANY_TYPE), 2);
	EXPECT_EQ(saves[0].FindRef("directory", &ref), B_OK);
	EXPECT_EQ(ref, folder);
	const char* name;
	ASSERT_EQ(saves[0].FindString("name", &name), B_OK);
	EXPECT_STREQ(name, "out.png");

	auto cancels = messages_with(program.CanvasMessages(), B_CANCEL);
	ASSERT_EQ(cancels.size(), 1u);
	EXPECT_TRUE(cancels[0].IsEmpty());
}

TEST(Application, AboutBoxHoldsTheApplicationsQueueWhileItIsUp)
{
	ProgramHarness program;
	BMessenger app(program.App());
	int shown = 0;
	size_t dataWhileUp = 0;
	kit::testing::SetAlertResponder([&](BAlert* alert) {
		shown++;
		EXPECT_STREQ(alert->Title(), "");
		EXPECT_EQ(alert->CountButtons(), 1);
		EXPECT_STREQ(alert->ButtonLabel(0), "Thank you");
		EXPECT_EQ(alert->Type(), B_INFO_ALERT);
		std::string text = alert->Text();
		EXPECT_EQ(text.rfind("dorva ver.0.00   2007.1.1\n", 0), 0u);
		EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
		if (shown == 1) {
			// While the box is up, an opened file and a second About wait in the queue.
			BMessage opened(B_REFS_RECEIVED);
			entry_ref ref("/tmp", "later.png");
			opened.AddRef("refs", &ref);
			app.SendMessage(&opened);
			app.SendMessage(B_ABOUT_REQUESTED);
			kit::testing::RunUntilIdle();
			dataWhileUp = messages_with(program.CanvasMessages(), B_SIMPLE_DATA).size();
			EXPECT_EQ(shown, 1);
		}
		return 0;
	});

	BMenuItem* about = program.Window()->KeyMenuBar()->SubmenuAt(0)->FindItem("About");
	ASSERT_NE(about, nullptr);
	about->Invoke();
	program.Idle();

	EXPECT_EQ(dataWhileUp, 0u);
	EXPECT_EQ(shown, 2);
	EXPECT_EQ(messages_with(program.CanvasMessages(), B_SIMPLE_DATA).size(), 1u);
}

TEST(Application, QuitFromTheMenuFreesEveryCatalogueRecordOnce)
{
	ProgramHarness program;
	ASSERT_GT(trc, 0);
	EXPECT_EQ(s_xlt::live, trc);
	BMenuItem* quit = program.Window()->KeyMenuBar()->SubmenuAt(0)->FindItem("Quit");
	quit->Invoke();
	// Run the application's loop for real: it must end by itself.
	program.App()->Run();
	EXPECT_EQ(s_xlt::live, 0);
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

TEST(Application, ClosingTheMainWindowEndsTheProgram)
{
	ProgramHarness program;
	kit::testing::CloseWindow(program.Window());
	program.App()->Run();
	EXPECT_EQ(s_xlt::live, 0);
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

TEST(Application, ExitsWithStatusOneWhenThereIsNoTranslatorRoster)
{
	BTranslatorRoster* saved = tr;
	kit::testing::SetDefaultRosterOverride(nullptr, true);
	char name[] = "dorva";
	char* argv[] = {name, nullptr};
	EXPECT_EQ(dorva_main(1, argv), 1);
	EXPECT_EQ(be_app, nullptr);
	kit::testing::SetDefaultRosterOverride(nullptr, false);
	tr = saved;
}

} // namespace
