#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "Application.h"
#include "BusClient.h"
#include "BusProtocol.h"
#include "KitTesting.h"
#include "Looper.h"
#include "MessageEndpoint.h"

namespace {

using dorva_send::wire_field;

// Keeps every message it receives.
class RecordingHandler : public BHandler {
public:
	RecordingHandler() : BHandler("recorder") {}
	void MessageReceived(BMessage* message) override { received.push_back(*message); }
	std::vector<BMessage> received;
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

wire_field field(const std::string& name, const std::string& type,
	std::variant<int64_t, double, bool, std::string> value)
{
	return wire_field{name, type, std::move(value)};
}

// Each test takes a name of its own, so that tests running side by side on one bus, or a
// dorva the user runs, never meet.
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
		handler = new RecordingHandler;
		application->AddHandler(handler);
		endpoint = std::make_unique<BMessageEndpoint>(test_signature().c_str());
		endpoint->SetTarget(handler);
		ASSERT_EQ(endpoint->Publish(), B_OK);
		ASSERT_TRUE(endpoint->IsPublished());
		busName = endpoint->BusName();
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

	// Sends and then lets the loopers handle what arrived; "" or the refusal.
	std::string Send(const std::string& what, const std::vector<wire_field>& fields = {})
	{
		std::string why = dorva_send::send_message(busName, what, fields);
		kit::testing::RunUntilIdle();
		return why;
	}

	std::unique_ptr<StayingApplication> application;
	RecordingHandler* handler = nullptr;
	std::unique_ptr<BMessageEndpoint> endpoint;
	std::string busName;
};

TEST_F(MessageEndpoint, DeliversTypedFieldsToTheHandlerThroughItsLooper)
{
	EXPECT_EQ(Send("fiwr", {field("format_no", "int16", int64_t(2))}), "");
	EXPECT_EQ(Send("ficl"), "");
	ASSERT_EQ(handler->received.size(), 2u);
	EXPECT_EQ(handler->received[0].what, kit_code("fiwr"));
	int16 format = -1;
	EXPECT_EQ(handler->received[0].FindInt16("format_no", &format), B_OK);
	EXPECT_EQ(format, 2);
	EXPECT_EQ(handler->received[1].what, kit_code("ficl"));
	EXPECT_TRUE(handler->received[1].IsEmpty());

	std::vector<wire_field> all = {
		field("small", "int8", int64_t(-128)),
		field("wide", "int32", int64_t(-2147483647 - 1)),
		field("scale", "float", 0.25),
		field("whole", "float", int64_t(3)),
		field("flag", "bool", true),
		field("name", "string", std::string("out.png")),
		field("refs", "ref", std::string("/tmp")),
		field("refs", "ref", std::string("/no/such/folder/photo.png")),
		field("refs", "ref", std::string("/tmp/./x/../b.jpg")),
	};
	EXPECT_EQ(Send("DATA", all), "");
	ASSERT_EQ(handler->received.size(), 3u);
	const BMessage& data = handler->received[2];
	EXPECT_EQ(data.what, B_SIMPLE_DATA);
	int8 small = 0;
	int32 wide = 0;
	float scale = 0;
	float whole = 0;
	bool flag = false;
	const char* name = nullptr;
	EXPECT_EQ(data.FindInt8("small", &small), B_OK);
	EXPECT_EQ(small, -128);
	EXPECT_EQ(data.FindInt32("wide", &wide), B_OK);
	EXPECT_EQ(wide, INT32_MIN);
	EXPECT_EQ(data.FindFloat("scale", &scale), B_OK);
	EXPECT_EQ(scale, 0.25f);
	EXPECT_EQ(data.FindFloat("whole", &whole), B_OK);
	EXPECT_EQ(whole, 3.0f);
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
	EXPECT_EQ(ref, entry_ref("/", "tmp"));
	data.FindRef("refs", 1, &ref);
	EXPECT_EQ(ref, entry_ref("/no/such/folder", "photo.png"));
	data.FindRef("refs", 2, &ref);
	EXPECT_EQ(ref, entry_ref("/tmp", "b.jpg"));
}

TEST_F(MessageEndpoint, RefusesMalformedMessagesWithAReasonAndDeliversNothing)
{
	const std::string tooLong(kit::bus::kMaxStringBytes + 1, 's');
	struct Case {
		std::string what;
		std::vector<wire_field> fields;
		std::string reason;
	};
	std::vector<wire_field> tooMany;
	for (int i = 0; i <= kit::bus::kMaxFieldValues; i++)
		tooMany.push_back(field("refs", "ref", std::string("/tmp/a.png")));
	const Case cases[] = {
		{"abc", {}, "not four characters"},
		{"abcde", {}, "not four characters"},
		{"ab\ncd", {}, "not four characters"},
		{"ficl", {field("x", "int12", int64_t(1))}, "unknown type 'int12'"},
		{"fiwr", {field("format_no", "int16", int64_t(70000))}, "out of the range"},
		{"fiwr", {field("format_no", "int8", int64_t(-129))}, "out of the range"},
		{"fiwr", {field("format_no", "int32", int64_t(1) << 40)}, "out of the range"},
		{"fiwr", {field("format_no", "int16", std::string("2"))}, "holds a D-Bus value"},
		{"fiwr", {field("format_no", "int16", 2.0)}, "holds a D-Bus value"},
		{"zoom", {field("scale", "float", 1e300)}, "not a finite float"},
		{"zoom", {field("scale", "float", std::numeric_limits<double>::quiet_NaN())},
			"not a finite float"},
		{"flag", {field("on", "bool", int64_t(1))}, "holds a D-Bus value"},
		{"DATA", {field("refs", "ref", std::string("photo.png"))}, "absolute path"},
		{"DATA", {field("refs", "ref", std::string(""))}, "absolute path"},
		{"SAVE", {field("name", "string", tooLong)}, "longer than"},
		{"SAVE", {field("", "string", std::string("x"))}, "empty name"},
		{"SAVE", {field("name", "string", std::string("a")), field("name", "int8", int64_t(1))},
			"both string and int8"},
		{"DATA", tooMany, "more than"},
	};
	for (const Case& bad : cases) {
		std::string why = Send(bad.what, bad.fields);
		EXPECT_NE(why.find("refused"), std::string::npos) << bad.what << ": " << why;
		EXPECT_NE(why.find(bad.reason), std::string::npos) << bad.what << ": " << why;
	}
	EXPECT_TRUE(handler->received.empty());

	// The endpoint goes on as before.
	EXPECT_EQ(Send("ficl"), "");
	EXPECT_EQ(handler->received.size(), 1u);
}

TEST_F(MessageEndpoint, ListsTheFormatsTheProgramGives)
{
	std::vector<dorva_send::listed_format> formats;
	EXPECT_EQ(dorva_send::list_output_formats(busName, &formats), "");
	EXPECT_TRUE(formats.empty());

	endpoint->SetFormatLister([] {
		return std::vector<output_format_entry>{{0, "TGA image", "image/x-targa"},
			{1, "PNG image", "image/png"}};
	});
	ASSERT_EQ(dorva_send::list_output_formats(busName, &formats), "");
	ASSERT_EQ(formats.size(), 2u);
	EXPECT_EQ(formats[1].index, 1);
	EXPECT_EQ(formats[1].name, "PNG image");
	EXPECT_EQ(formats[1].mime, "image/png");
}

TEST_F(MessageEndpoint, SendsTheRequestToQuitToTheApplication)
{
	EXPECT_EQ(Send("_QRQ"), "");
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
	EXPECT_EQ(Send("ficl"), "");
	EXPECT_EQ(handler->received.size(), 1u);

	application->RemoveHandler(handler);
	delete handler;
	handler = nullptr;
	application->AddHandler(handler = new RecordingHandler);
	std::string why = Send("ficl");
	EXPECT_NE(why.find("no handler"), std::string::npos) << why;

	// Once the name is given back the program counts as not running.
	endpoint->Unpublish();
	why = Send("ficl");
	EXPECT_NE(why.find("not running"), std::string::npos) << why;
	EXPECT_TRUE(handler->received.empty());
}

} // namespace
