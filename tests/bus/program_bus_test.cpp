#include <gtest/gtest.h>

#include <cstdlib>

#include "ProgramHarness.h"
#include "RemoteMessenger.h"
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

	// Once the program has quit there is no canvas to ask, and the caller is told so.
	ASSERT_TRUE(program.Window()->QuitRequested());
	program.Idle();
	EXPECT_EQ(dorva.SendMessage(&request, &reply), B_BAD_HANDLER);
	EXPECT_STREQ(dorva.ErrorText(),
		"dorva refused the message: the program has no handler for messages now");
}

} // namespace
