// Calls on the program's session-bus endpoint from another program: any method, any message
// code, and fields of any name, type name and D-Bus value, sent over a real session bus to
// an endpoint published in this process. The endpoint's handler answers every call that
// asks for a reply with the message it received, which the caller reads back as a reply.
// A call the endpoint accepts reaches the handler once; one it refuses says why and
// reaches nothing; a reply reads back as the message the handler sent.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Application.h"
#include "BusProtocol.h"
#include "BusTesting.h"
#include "FuzzSupport.h"
#include "KitTesting.h"
#include "MessageEndpoint.h"

namespace {

using kit::testing::BusField;
using kit::testing::BusValue;

// Keeps count of what arrives and answers with it.
class EchoHandler : public BHandler {
public:
	EchoHandler() : BHandler("echo") {}
	void MessageReceived(BMessage* message) override
	{
		received++;
		last = *message;
		BMessage reply(*message);
		reply.what = B_REPLY;
		message->SendReply(&reply);
	}
	int received = 0;
	BMessage last;
};

// An application that stays when a call asks it to quit, and counts the requests.
class StayingApplication : public BApplication {
public:
	explicit StayingApplication(const char* signature) : BApplication(signature) {}
	bool QuitRequested() override
	{
		quitRequests++;
		return false;
	}
	int quitRequests = 0;
};

// Made once and kept for the life of the process.
StayingApplication* application = nullptr;
EchoHandler* handler = nullptr;
BMessageEndpoint* endpoint = nullptr;
std::string busName;

const char* const kCodes[] = {
	"DATA", "MIME", "SAVE", "_CNC", "fiwr", "ficl", "fifm", "_QRQ", "zoom"};
const char* const kNames[] = {
	"refs", "format_no", "directory", "name", "scale", "be:types", "_drop_point_", "x"};
const char* const kTypeNames[] = {"int8", "int16", "int32", "float", "bool", "string", "ref"};
const char* const kPaths[] = {"/", "/tmp", "/tmp/a.png", "/tmp/./x/../b.jpg", "//tmp//",
	"/no/such/folder/photo.png", "/..", "relative.png", ""};

std::string text(FuzzedDataProvider* input, size_t most)
{
	if (input->ConsumeBool())
		return input->PickValueInArray(kPaths);
	return input->ConsumeRandomLengthString(most);
}

BusValue value(FuzzedDataProvider* input)
{
	switch (input->ConsumeIntegralInRange(0, 10)) {
		case 0:
			return input->ConsumeIntegral<uint8_t>();
		case 1:
			return input->ConsumeIntegral<int16_t>();
		case 2:
			return input->ConsumeIntegral<uint16_t>();
		case 3:
			return input->ConsumeIntegral<int32_t>();
		case 4:
			return input->ConsumeIntegral<uint32_t>();
		case 5:
			return input->ConsumeIntegral<int64_t>();
		case 6:
			return input->ConsumeIntegral<uint64_t>();
		case 7:
			return input->ConsumeFloatingPoint<double>();
		case 8:
			return input->ConsumeBool();
		case 9: {
			std::vector<std::string> list(input->ConsumeIntegralInRange(0, 2));
			for (std::string& item : list)
				item = text(input, 16);
			return list;
		}
		default:
			return text(input, 300);
	}
}

BusField field(FuzzedDataProvider* input)
{
	BusField made;
	made.name = input->ConsumeBool() ? input->PickValueInArray(kNames)
									 : input->ConsumeRandomLengthString(20);
	made.type = input->ConsumeBool() ? input->PickValueInArray(kTypeNames)
									 : input->ConsumeRandomLengthString(8);
	made.value = value(input);
	return made;
}

// The flat bytes of a message, to compare two.
std::string flat_bytes(const BMessage& message)
{
	BMessage carrier;
	carrier.AddMessage("flat", &message);
	const void* bytes = nullptr;
	ssize_t size = 0;
	carrier.FindData("flat", B_MESSAGE_TYPE, &bytes, &size);
	return std::string(static_cast<const char*>(bytes), size_t(size));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
	if (address == nullptr || *address == '\0') {
		std::fprintf(
			stderr, "bus_endpoint_fuzz: needs a session bus (run under dbus-run-session)\n");
		std::exit(1);
	}
	// A name of the process's own, so that runs side by side never meet.
	std::string signature = "application/x-vnd.Vesk-fuzz-" + std::to_string(getpid());
	application = new StayingApplication(signature.c_str());
	handler = new EchoHandler;
	application->AddHandler(handler);
	endpoint = new BMessageEndpoint(signature.c_str());
	endpoint->SetTarget(handler);
	if (endpoint->Publish() != B_OK) {
		std::fprintf(stderr, "bus_endpoint_fuzz: cannot publish the endpoint\n");
		std::exit(1);
	}
	busName = endpoint->BusName();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	FuzzedDataProvider input(data, size);
	const char* const kMethods[] = {kit::bus::kSendMessageMethod,
		kit::bus::kSendMessageWithReplyMethod, "SendMessages", "Introspect"};
	const char* method = input.PickValueInArray(kMethods);
	const bool withReply = method == kit::bus::kSendMessageWithReplyMethod;
	std::string what =
		input.ConsumeBool() ? input.PickValueInArray(kCodes) : input.ConsumeRandomLengthString(6);
	const int receivedBefore = handler->received;
	const int quitsBefore = application->quitRequests;
	std::string error;
	status_t status;
	BMessage reply(kit_code("none"));
	if (input.ConsumeIntegralInRange(0, 15) == 0) {
		// Arguments of another shape.
		status = kit::testing::CallEndpointWithText(busName, method, what, &error);
	} else {
		std::vector<BusField> fields;
		// Now and then more values than a message may hold, to pass the limit.
		size_t count = input.ConsumeIntegralInRange(0, 8);
		if (count == 8)
			count = size_t(kit::bus::kMaxFieldValues) + input.ConsumeIntegralInRange(0, 1);
		while (fields.size() < count && input.remaining_bytes() > 0)
			fields.push_back(field(&input));
		if (count > 8 && !fields.empty())
			fields.resize(count, fields.back());
		status = kit::testing::CallEndpoint(busName, method, what, fields, &error, &reply);
	}
	kit::testing::RunUntilIdle();

	// A D-Bus string ends at its first NUL byte: "_QRQ\0\0" arrives as "_QRQ".
	const bool quit = what.substr(0, what.find('\0')) == "_QRQ";
	const int arrived =
		quit ? application->quitRequests - quitsBefore : handler->received - receivedBefore;
	fuzz::Require(status == B_OK || !error.empty(), "a failed call says why");
	if (status == B_OK && (method == kit::bus::kSendMessageMethod || withReply)) {
		fuzz::Require(arrived == 1, "an accepted message arrives once");
	} else if (status == B_BAD_VALUE) {
		fuzz::Require(arrived == 0, "a refused message arrives nowhere");
	}
	if (status == B_OK && withReply && !quit) {
		fuzz::Require(reply.what == B_REPLY, "the reply is the handler's");
		BMessage sent(handler->last);
		sent.what = B_REPLY;
		fuzz::Require(flat_bytes(reply) == flat_bytes(sent), "a reply reads back as it was sent");
	}
	return 0;
}
