#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "CanvasProbe.h"
#include "ImageFixtures.h"
#include "KitTesting.h"
#include "ProgramHarness.h"
#include "RemoteMessenger.h"
#include "TempDirectory.h"
#include "application_codes.h"
#include "dorvaview.h"
#include "output_catalogue.h"
#include "signature.h"

namespace {

// The program itself on a private session bus, asked as another program asks it.
TEST(ProgramOnTheBus, ListsTheCatalogueThroughTheEndpointWhileItRuns)
{
	if (std::getenv("DORVA_PRIVATE_BUS") == nullptr)
		GTEST_SKIP() << "needs a private session bus, where no other dorva runs";
	ProgramHarness program;
	ASSERT_GT(trc, 0);
	BRemoteMessenger dorva(kAppSignature);

	BMessage request(CMD_LIST_FORMATS);
	BMessage reply;
	ASSERT_EQ(dorva.SendMessage(&request, &reply), B_OK) << dorva.ErrorText();
	EXPECT_EQ(reply.what, B_REPLY);
	type_code type;
	int32 count = -1;
	ASSERT_EQ(reply.GetInfo("index", &type, &count), B_OK);
	ASSERT_EQ(count, trc);
	for (int32 i = 0; i < trc; i++) {
		const s_xlt* record = static_cast<const s_xlt*>(xlt.ItemAt(i));
		int32 index = -1;
		std::string name;
		std::string mime;
		EXPECT_EQ(reply.FindInt32("index", i, &index), B_OK);
		EXPECT_EQ(reply.FindString("name", i, &name), B_OK);
		EXPECT_EQ(reply.FindString("mime", i, &mime), B_OK);
		EXPECT_EQ(index, i);
		EXPECT_EQ(name, record->name);
		EXPECT_EQ(mime, record->mime);
	}

	// Once the main window has quit, its catalogue is freed: the answer lists nothing.
	ASSERT_TRUE(program.Window()->QuitRequested());
	program.Idle();
	ASSERT_EQ(dorva.SendMessage(&request, &reply), B_OK) << dorva.ErrorText();
	EXPECT_TRUE(reply.IsEmpty());
}

// A script that asks for the answer to its "SAVE" learns whether the file was written.
TEST(ProgramOnTheBus, ASaveThatWaitsForItsAnswerHearsTheExportsResult)
{
	if (std::getenv("DORVA_PRIVATE_BUS") == nullptr)
		GTEST_SKIP() << "needs a private session bus, where no other dorva runs";
	ProgramHarness program;
	show_picture(program.Canvas(), MakePatternBitmap(300, 200).release());
	for (int32 i = 0; i < trc; i++) {
		if (std::string(static_cast<const s_xlt*>(xlt.ItemAt(i))->mime) == "image/png")
			program.Canvas()->format_no = int16(i);
	}
	TempDirectory folder;
	BRemoteMessenger dorva(kAppSignature);
	auto save = [&](const std::string& directory, const char* name) {
		std::filesystem::path path(directory);
		entry_ref ref(path.parent_path().string(), path.filename().string());
		BMessage request(B_SAVE_REQUESTED);
		request.AddRef("directory", &ref);
		request.AddString("name", name);
		BMessage reply;
		EXPECT_EQ(dorva.SendMessage(&request, &reply), B_OK) << dorva.ErrorText();
		int32 error = -1;
		EXPECT_EQ(reply.FindInt32("error", &error), B_OK);
		return status_t(error);
	};
	EXPECT_EQ(save(folder.Path().string(), "answered.png"), B_OK);
	EXPECT_TRUE(std::filesystem::is_regular_file(folder.Path() / "answered.png"));
	EXPECT_EQ(save(folder.Child("missing"), "lost.png"), B_ENTRY_NOT_FOUND);
}

// The quit message from another program (dorva-send) while the About box is open: the box
// closes and the program ends, as with "Quit".
TEST(ProgramOnTheBus, AQuitFromAnotherProgramClosesAnOpenDialogAndQuits)
{
	if (std::getenv("DORVA_PRIVATE_BUS") == nullptr)
		GTEST_SKIP() << "needs a private session bus, where no other dorva runs";
	kit::testing::SetAlertResponder(nullptr);
	ProgramHarness program;
	std::atomic<bool> shown{false};
	std::atomic<int> sent{-1};
	std::thread other([&] {
		for (int i = 0; i < 1000 && kit::testing::CountModalDialogs() == 0; i++)
			usleep(10000);
		shown = kit::testing::CountModalDialogs() > 0;
		sent = std::system("'" DORVA_SEND "' _QRQ");
	});
	BMessenger(program.App()).SendMessage(B_ABOUT_REQUESTED);
	alarm(60); // a quit that never comes fails the test instead of hanging it
	program.App()->Run();
	alarm(0);
	other.join();
	EXPECT_TRUE(shown);
	EXPECT_EQ(sent, 0);
	EXPECT_EQ(kit::testing::CountModalDialogs(), 0);
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

} // namespace
