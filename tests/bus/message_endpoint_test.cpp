#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "BusProtocol.h"
#include "BusTesting.h"
#include "KitTesting.h"
#include "Looper.h"
#include "MessageEndpoint.h"
#include "RemoteMessenger.h"

namespace {

using kit::testing::BusField;

const uint32 kKeep = kit_code("keep"); // kept without a reply
const uint32 kDrop = kit_code("drop"); // handled without a reply
const uint32 kEcho = kit_code("echo"); // replied to with its own fields, twice
const uint32 kOdd = kit_code("odd ");  // replied to with a field the bus does not carry

// Keeps every message it receives (but those it is told to drop) and answers some.
class ScriptedHandler : public BHandler {
public:
	ScriptedHandler() : BHandler("scripted") {}
	void MessageReceived(BMessage* message) override
	{
		switch (message->what) {
			case kDrop:
				dropped++;
				return;
			case kEcho: {
				BMessage reply(*message);
				reply.what = B_REPLY;
				replyResults.push_back(message->SendReply(&reply));
				replyResults.push_back(message->SendReply(&reply));
				break;
			}
			case kOdd: {
				BMessage reply(B_REPLY);
				reply.AddInt32("fine", 1);
				reply.AddInt64("wide", 1);
				replyResults.push_back(message->SendReply(&reply));
				break;
			}
		}
		received.push_back(*message);
	}
	std::vector<BMessage> received;
	std::vector<status_t> replyResults;
	int dropped = 0;
};

// An application that records the system's requests to quit and stays.
class StayingApplication : public BApplication {
public:
	StayingApplication() : BApplication("application/x-vnd.Vesk-endpoint-test") {}
	bool QuitRequested() override
	{
		quitRequests++;
		return false;
	}
	int quitRequests = 0;
};

// Each test takes a name of its own, so that tests running side by side on one bus, or a
// program the user runs, never meet.
std::string test_signature()
{
	static int serial = 0;
	return "application/x-vnd.Vesk-endpoint-test-" + std::to_string(getpid()) + "-"
		+ std::to_string(++serial);
}

class MessageEndpoint : public ::testing::Test {
protected:
	void SetUp() override
	{
		const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
		if (address == nullptr || *address == '\0')
			GTEST_SKIP() << "no session bus (run under dbus-run-session)";
		application = std::make_unique<StayingApplication>();
		handler = new ScriptedHandler;
		application->AddHandler(handler);
		const std::string signature = test_signature();
		endpoint = std::make_unique<BMessageEndpoint>(signature.c_str());
		endpoint->SetTarget(handler);
		ASSERT_EQ(endpoint->Publish(), B_OK);
		ASSERT_TRUE(endpoint->IsPublished());
		busName = endpoint->BusName();
		messenger = std::make_unique<BRemoteMessenger>(signature.c_str());
		ASSERT_EQ(messenger->BusName(), busName);
	}

	void TearDown() override
	{
		endpoint.reset();
		if (application) {
			application->RemoveHandler(handler);
			delete handler;
		}
		application.reset();
		kit::testing::RunUntilIdle();
	}

	// Sends through the remote messenger, then lets the loopers handle what arrived.
	status_t Send(BMessage message)
	{
		status_t status = messenger->SendMessage(&message);
		kit::testing::RunUntilIdle();
		return status;
	}
	status_t Send(uint32 what) { return Send(BMessage(what)); }

	// Calls the endpoint with fields as given; "" or why it failed.
	std::string Call(const std::string& what, const std::vector<BusField>& fields,
		const char* method = kit::bus::kSendMessageMethod)
	{
		std::string error;
		status_t status = kit::testing::CallEndpoint(busName, method, what, fields, &error);
		kit::testing::RunUntilIdle();
		EXPECT_EQ(status == B_OK, error.empty()) << error;
		return error;
	}

	std::unique_ptr<StayingApplication> application;
	ScriptedHandler* handler = nullptr;
	std::unique_ptr<BMessageEndpoint> endpoint;
	std::unique_ptr<BRemoteMessenger> messenger;
	std::string busName;
};

TEST_F(MessageEndpoint, DeliversTypedFieldsToTheHandlerThroughItsLooper)
{
	BMessage all(B_SIMPLE_DATA);
	all.AddInt8("small", -128);
	all.AddInt16("format_no", 2);
	all.AddInt32("wide", INT32_MIN);
	all.AddFloat("scale", 0.25f);
	all.AddBool("flag", true);
	all.AddString("name", "out.png");
	entry_ref tmp("/", "tmp");
	entry_ref missing("/no/such/folder", "photo.png");
	entry_ref untidy("/tmp/./x/..", "b.jpg");
	all.AddRef("refs", &tmp);
	all.AddRef("refs", &missing);
	all.AddRef("refs", &untidy);
	EXPECT_EQ(Send(all), B_OK) << messenger->ErrorText();
	EXPECT_STREQ(messenger->ErrorText(), "");
	EXPECT_EQ(Send(kit_code("ficl")), B_OK);
	ASSERT_EQ(handler->received.size(), 2u);
	EXPECT_EQ(handler->received[1].what, kit_code("ficl"));
	EXPECT_TRUE(handler->received[1].IsEmpty());

	const BMessage& data = handler->received[0];
	EXPECT_EQ(data.what, B_SIMPLE_DATA);
	int8 small = 0;
	int16 format = 0;
	int32 wide = 0;
	float scale = 0;
	bool flag = false;
	const char* name = nullptr;
	EXPECT_EQ(data.FindInt8("small", &small), B_OK);
	EXPECT_EQ(small, -128);
	EXPECT_EQ(data.FindInt16("format_no", &format), B_OK);
	EXPECT_EQ(format, 2);
	EXPECT_EQ(data.FindInt32("wide", &wide), B_OK);
	EXPECT_EQ(wide, INT32_MIN);
	EXPECT_EQ(data.FindFloat("scale", &scale), B_OK);
	EXPECT_EQ(scale, 0.25f);
	EXPECT_EQ(data.FindBool("flag", &flag), B_OK);
	EXPECT_TRUE(flag);
	EXPECT_EQ(data.FindString("name", &name), B_OK);
	EXPECT_STREQ(name, "out.png");
	type_code type = 0;
	int32 count = 0;
	ASSERT_EQ(data.GetInfo("refs", &type, &count), B_OK);
	EXPECT_EQ(type, B_REF_TYPE);
	ASSERT_EQ(count, 3);
	entry_ref ref;
	data.FindRef("refs", 0, &ref);
	EXPECT_EQ(ref, tmp);
	data.FindRef("refs", 1, &ref);
	EXPECT_EQ(ref, missing);
	data.FindRef("refs", 2, &ref);
	EXPECT_EQ(ref, entry_ref("/tmp", "b.jpg"));

	// Other senders may use any D-Bus integer, within the field type's range.
	EXPECT_EQ(Call("zoom",
				  {{"level", "int8", uint8_t(100)}, {"scale", "float", int64_t(3)},
					  {"big", "int32", uint64_t(7)}}),
		"");
	ASSERT_EQ(handler->received.size(), 3u);
	int8 level = 0;
	EXPECT_EQ(handler->received[2].FindInt8("level", &level), B_OK);
	EXPECT_EQ(level, 100);
	EXPECT_EQ(handler->received[2].FindFloat("scale", &scale), B_OK);
	EXPECT_EQ(scale, 3.0f);
}

TEST_F(MessageEndpoint, RefusesMalformedMessagesWithAReasonAndDeliversNothing)
{
	const std::string tooLong(kit::bus::kMaxStringBytes + 1, 's');
	struct Case {
		std::string what;
		std::vector<BusField> fields;
		std::string reason;
	};
	std::vector<BusField> tooMany;
	for (int i = 0; i <= kit::bus::kMaxFieldValues; i++)
		tooMany.push_back({"refs", "ref", std::string("/tmp/a.png")});
	const Case cases[] = {
		{"abc", {}, "not four characters"},
		{"abcde", {}, "not four characters"},
		{"ab\ncd", {}, "not four characters"},
		{"ficl", {{"x", "int12", int64_t(1)}}, "unknown type 'int12'"},
		{"fiwr", {{"format_no", "int16", int64_t(70000)}}, "70000 is out of range"},
		{"fiwr", {{"format_no", "int8", int64_t(-129)}}, "-129 is out of range"},
		{"fiwr", {{"format_no", "int32", int64_t(1) << 40}}, "out of range"},
		{"fiwr", {{"format_no", "int32", std::numeric_limits<uint64_t>::max()}},
			"18446744073709551615 is out of range"},
		{"fiwr", {{"format_no", "int16", std::string("2")}}, "holds a D-Bus value"},
		{"fiwr", {{"format_no", "int16", 2.0}}, "holds a D-Bus value"},
		{"zoom", {{"scale", "float", 1e300}}, "out of the range of a float"},
		{"zoom", {{"scale", "float", std::numeric_limits<double>::quiet_NaN()}},
			"out of the range of a float"},
		{"flag", {{"on", "bool", int64_t(1)}}, "holds a D-Bus value"},
		{"DATA", {{"refs", "ref", std::string("photo.png")}}, "absolute path"},
		{"DATA", {{"refs", "ref", std::string("")}}, "absolute path"},
		{"DATA", {{"refs", "ref", "/" + std::string(kit::bus::kMaxPathBytes, 'p')}}, "longer than"},
		{"SAVE", {{"name", "string", tooLong}}, "longer than"},
		{"SAVE", {{"", "string", std::string("x")}}, "empty"},
		{"SAVE", {{"name", "string", std::string("a")}, {"name", "int8", int64_t(1)}},
			"both string and int8"},
		{"DATA", tooMany, "more than"},
	};
	for (const Case& bad : cases) {
		for (const char* method :
			{kit::bus::kSendMessageMethod, kit::bus::kSendMessageWithReplyMethod}) {
			std::string why = Call(bad.what, bad.fields, method);
			EXPECT_NE(why.find("refused"), std::string::npos) << bad.what << ": " << why;
			EXPECT_NE(why.find(bad.reason), std::string::npos) << bad.what << ": " << why;
		}
	}

	// Calls of another shape, and other methods.
	std::string why;
	EXPECT_EQ(
		kit::testing::CallEndpointWithText(busName, kit::bus::kSendMessageMethod, "ficl", &why),
		B_BAD_VALUE);
	EXPECT_NE(why.find("not (s what, a(ssv) fields)"), std::string::npos) << why;
	EXPECT_EQ(kit::testing::CallEndpointWithText(busName, "ListOutputFormats", "", &why), B_ERROR);
	EXPECT_NE(why.find("UnknownMethod"), std::string::npos) << why;

	// What the bus cannot carry is not sent at all.
	BMessage wide(kit_code("wide"));
	wide.AddInt64("big", 1);
	EXPECT_EQ(Send(wide), B_BAD_VALUE);
	EXPECT_NE(std::string(messenger->ErrorText()).find("'big'"), std::string::npos);
	BMessage many(B_SIMPLE_DATA);
	for (int i = 0; i <= kit::bus::kMaxFieldValues; i++)
		many.AddInt32("n", i);
	EXPECT_EQ(Send(many), B_BAD_VALUE);
	EXPECT_NE(std::string(messenger->ErrorText()).find("more than"), std::string::npos);
	EXPECT_TRUE(handler->received.empty());

	// The endpoint goes on as before.
	EXPECT_EQ(Send(kit_code("ficl")), B_OK);
	EXPECT_EQ(handler->received.size(), 1u);
}

TEST_F(MessageEndpoint, NamesARefusedByteAsANumber)
{
	// A D-Bus byte is unsigned: 255 is out of the range of an int8, and is told as 255, not
	// as the character of that code.
	std::string why = Call("fiwr", {{"format_no", "int8", uint8_t(255)}});
	EXPECT_NE(why.find("field 'format_no': 255 is out of range (-128 to 127)"), std::string::npos)
		<< why;
	EXPECT_EQ(why.find("\xc3\xbf"), std::string::npos) << why;
	EXPECT_TRUE(handler->received.empty());
}

TEST_F(MessageEndpoint, HandsTheHandlersReplyBackOnce)
{
	BMessage question(kEcho);
	question.AddString("name", "out.png");
	question.AddInt16("format_no", 6);
	entry_ref folder("/", "tmp");
	question.AddRef("directory", &folder);
	BMessage reply(kit_code("old!"));
	reply.AddBool("stale", true);
	ASSERT_EQ(messenger->SendMessage(&question, &reply), B_OK) << messenger->ErrorText();
	EXPECT_EQ(reply.what, B_REPLY);
	EXPECT_FALSE(reply.HasField("stale"));
	const char* name = nullptr;
	int16 format = 0;
	entry_ref ref;
	EXPECT_EQ(reply.FindString("name", &name), B_OK);
	EXPECT_STREQ(name, "out.png");
	EXPECT_EQ(reply.FindInt16("format_no", &format), B_OK);
	EXPECT_EQ(format, 6);
	EXPECT_EQ(reply.FindRef("directory", &ref), B_OK);
	EXPECT_EQ(ref, folder);
	// Only the first reply travels; the handler learns that the second went nowhere.
	kit::testing::RunUntilIdle();
	ASSERT_EQ(handler->replyResults.size(), 2u);
	EXPECT_EQ(handler->replyResults[0], B_OK);
	EXPECT_NE(handler->replyResults[1], B_OK);
}

TEST_F(MessageEndpoint, AnswersWithAnErrorWhenNoGoodReplyComes)
{
	BMessage reply;
	BMessage drop(kDrop);
	EXPECT_EQ(messenger->SendMessage(&drop, &reply), B_ERROR);
	EXPECT_NE(std::string(messenger->ErrorText()).find("without replying"), std::string::npos)
		<< messenger->ErrorText();
	EXPECT_EQ(handler->dropped, 1);

	BMessage odd(kOdd);
	EXPECT_EQ(messenger->SendMessage(&odd, &reply), B_BAD_DATA);
	EXPECT_NE(std::string(messenger->ErrorText()).find("'wide'"), std::string::npos)
		<< messenger->ErrorText();
	kit::testing::RunUntilIdle();
	ASSERT_EQ(handler->replyResults.size(), 1u);
	EXPECT_EQ(handler->replyResults[0], B_BAD_VALUE);

	// A handler that keeps the message and never replies holds the caller only until the
	// reply timeout.
	endpoint->SetReplyTimeout(200000);
	BMessage keep(kKeep);
	EXPECT_EQ(messenger->SendMessage(&keep, &reply), B_TIMED_OUT);
	EXPECT_NE(std::string(messenger->ErrorText()).find("within 200 ms"), std::string::npos)
		<< messenger->ErrorText();
	ASSERT_EQ(handler->received.size(), 2u);
	// A reply that comes after the caller gave up goes nowhere.
	BMessage late(B_REPLY);
	EXPECT_NE(handler->received[1].SendReply(&late), B_OK);
}

TEST_F(MessageEndpoint, SendsTheRequestToQuitToTheApplication)
{
	EXPECT_EQ(Send(B_QUIT_REQUESTED), B_OK);
	EXPECT_EQ(application->quitRequests, 1);
	EXPECT_TRUE(handler->received.empty());
}

TEST_F(MessageEndpoint, RefusesWhenTheHandlerIsGoneAndKeepsItsNameFromOthers)
{
	// A second endpoint cannot take a name that is held.
	BMessageEndpoint same(("application/" + busName).c_str());
	EXPECT_EQ(same.BusName(), busName);
	EXPECT_EQ(same.Publish(), B_NAME_IN_USE);
	EXPECT_FALSE(same.IsPublished());
	EXPECT_EQ(Send(kit_code("ficl")), B_OK);
	EXPECT_EQ(handler->received.size(), 1u);

	application->RemoveHandler(handler);
	delete handler;
	handler = nullptr;
	application->AddHandler(handler = new ScriptedHandler);
	EXPECT_EQ(Send(kit_code("ficl")), B_BAD_HANDLER);
	EXPECT_NE(std::string(messenger->ErrorText()).find("no handler"), std::string::npos)
		<< messenger->ErrorText();
	BMessage question(kEcho);
	BMessage reply;
	EXPECT_EQ(messenger->SendMessage(&question, &reply), B_BAD_HANDLER);

	// Once the name is given back the program counts as not running.
	endpoint->Unpublish();
	EXPECT_EQ(Send(kit_code("ficl")), B_NAME_NOT_FOUND);
	const std::string why = messenger->ErrorText();
	EXPECT_NE(why.find("is not running (nothing owns " + busName), std::string::npos) << why;
	EXPECT_TRUE(handler->received.empty());
}

} // namespace
