// Messages in their flat form, as a field of B_MESSAGE_TYPE carries them and FindMessage
// reads them back, with every typed getter asked about every value of what comes out. A
// message read back is flattened again and must read back the same.
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "Message.h"

namespace {

// Messages nested deeper than this are read but not opened.
const int kMaxDepth = 4;
const char kCarrier[] = "flat";

// The flat bytes of message, as AddMessage stores them.
std::string flat_bytes(const BMessage& message)
{
	BMessage carrier;
	fuzz::Require(carrier.AddMessage(kCarrier, &message) == B_OK, "a message can be added");
	const void* bytes = nullptr;
	ssize_t size = 0;
	fuzz::Require(carrier.FindData(kCarrier, B_MESSAGE_TYPE, &bytes, &size) == B_OK,
		"an added message can be found");
	return std::string(static_cast<const char*>(bytes), size_t(size));
}

void explore(const BMessage& message, int depth);

// Every getter on one value: only the one of the field's type may find it.
void ask_every_getter(
	const BMessage& message, const char* name, type_code type, int32 index, int depth)
{
	auto expect = [&](status_t status, type_code getterType) {
		if (status == B_OK)
			fuzz::Require(getterType == type, "a getter finds only values of its type");
	};
	bool flag;
	int8 int8Value;
	int16 int16Value;
	int32 int32Value;
	int64 int64Value;
	float floatValue;
	double doubleValue;
	const char* text = nullptr;
	std::string string;
	void* pointer;
	BPoint point;
	BRect rect;
	expect(message.FindBool(name, index, &flag), B_BOOL_TYPE);
	expect(message.FindInt8(name, index, &int8Value), B_INT8_TYPE);
	expect(message.FindInt16(name, index, &int16Value), B_INT16_TYPE);
	expect(message.FindInt32(name, index, &int32Value), B_INT32_TYPE);
	expect(message.FindInt64(name, index, &int64Value), B_INT64_TYPE);
	expect(message.FindFloat(name, index, &floatValue), B_FLOAT_TYPE);
	expect(message.FindDouble(name, index, &doubleValue), B_DOUBLE_TYPE);
	expect(message.FindPointer(name, index, &pointer), B_POINTER_TYPE);
	expect(message.FindPoint(name, index, &point), B_POINT_TYPE);
	expect(message.FindRect(name, index, &rect), B_RECT_TYPE);

	const void* bytes = nullptr;
	ssize_t size = -1;
	status_t found = message.FindData(name, type, index, &bytes, &size);
	const void* anyBytes = nullptr;
	ssize_t anySize = -1;
	fuzz::Require(message.FindData(name, B_ANY_TYPE, index, &anyBytes, &anySize) == found,
		"a value is found by its type as by any type");
	if (found == B_OK) {
		fuzz::Require(size >= 0 && anyBytes == bytes && anySize == size, "a value has one size");
		if (size > 0) {
			const volatile char* first = static_cast<const char*>(bytes);
			(void)first[size - 1];
		}
	}

	status_t stringStatus = message.FindString(name, index, &text);
	expect(stringStatus, B_STRING_TYPE);
	fuzz::Require(
		message.FindString(name, index, &string) == stringStatus, "both string getters agree");
	if (stringStatus == B_OK) {
		fuzz::Require(std::strlen(text) < size_t(size), "a string ends within its value");
		fuzz::Require(string == text, "both string getters give the same text");
	}

	entry_ref ref;
	expect(message.FindRef(name, index, &ref), B_REF_TYPE);

	BMessage inner;
	status_t innerStatus = message.FindMessage(name, index, &inner);
	expect(innerStatus, B_MESSAGE_TYPE);
	if (innerStatus == B_OK && depth < kMaxDepth)
		explore(inner, depth + 1);
}

void explore(const BMessage& message, int depth)
{
	const char* name = nullptr;
	type_code type = 0;
	int32 count = 0;
	int32 fields = 0;
	for (; message.GetInfo(B_ANY_TYPE, fields, &name, &type, &count) == B_OK; fields++) {
		// The name the field is listed under finds it again, whatever bytes it holds.
		type_code typeByName = 0;
		int32 countByName = -1;
		fuzz::Require(message.GetInfo(name, &typeByName, &countByName) == B_OK && typeByName == type
				&& countByName == count,
			"a field is found by its name");
		fuzz::Require(message.HasField(name, type), "a listed field is there");
		fuzz::Require(message.CountNames(type) >= 1, "a listed field is counted");
		fuzz::Require(count >= 1, "a field holds a value");
		for (int32 index = -1; index <= count; index++)
			ask_every_getter(message, name, type, index, depth);
	}
	fuzz::Require(message.CountNames(B_ANY_TYPE) == fields, "every field is counted once");
	const char* none = nullptr;
	fuzz::Require(
		message.GetInfo(B_ANY_TYPE, -1, &none, &type) != B_OK, "no field before the first");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
	fuzz::PrepareEnvironment();
	return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
	BMessage carrier;
	fuzz::Require(carrier.AddData(kCarrier, B_MESSAGE_TYPE, data, ssize_t(size)) == B_OK,
		"any bytes can be carried");
	BMessage message;
	if (carrier.FindMessage(kCarrier, &message) != B_OK)
		return 0;
	explore(message, 0);

	// What was read back travels again unchanged, copied or flattened.
	std::string flat = flat_bytes(message);
	BMessage copy(message);
	fuzz::Require(flat_bytes(copy) == flat, "a copy flattens as the original");
	BMessage again;
	BMessage carrierAgain;
	carrierAgain.AddData(kCarrier, B_MESSAGE_TYPE, flat.data(), ssize_t(flat.size()));
	fuzz::Require(
		carrierAgain.FindMessage(kCarrier, &again) == B_OK, "a flattened message reads back");
	fuzz::Require(flat_bytes(again) == flat, "a message read back flattens as before");

	// Taking the fields away one by one leaves an empty message.
	const char* name = nullptr;
	type_code type = 0;
	while (copy.GetInfo(B_ANY_TYPE, 0, &name, &type) == B_OK) {
		std::string first = name;
		fuzz::Require(copy.RemoveName(first.c_str()) == B_OK, "a listed field can be removed");
	}
	fuzz::Require(copy.IsEmpty(), "a message without fields is empty");
	return 0;
}
