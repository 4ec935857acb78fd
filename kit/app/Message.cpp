#include "Message.h"

#include <cstdio>
#include <cstring>

#include "MessageFlattening.h"
#include "Messenger.h"
#include "ReplyEndpoint.h"

namespace {

template <typename T>
std::vector<char> bytes_of(const T& value)
{
	std::vector<char> bytes(sizeof(T));
	std::memcpy(bytes.data(), &value, sizeof(T));
	return bytes;
}

} // namespace

BMessage::BMessage() : what(0)
{
}

BMessage::BMessage(uint32 code) : what(code)
{
}

BMessage::BMessage(const BMessage& other) = default;
BMessage& BMessage::operator=(const BMessage& other) = default;
BMessage::~BMessage() = default;

BMessage::Field* BMessage::_FindField(const char* name)
{
	if (name == nullptr)
		return nullptr;
	for (Field& field : fFields) {
		if (field.name == name)
			return &field;
	}
	return nullptr;
}

const BMessage::Field* BMessage::_FindField(const char* name) const
{
	return const_cast<BMessage*>(this)->_FindField(name);
}

status_t BMessage::AddData(
	const char* name, type_code type, const void* data, ssize_t numBytes, bool, int32)
{
	if (name == nullptr || *name == '\0' || numBytes < 0 || (data == nullptr && numBytes > 0))
		return B_BAD_VALUE;
	if (type == B_ANY_TYPE)
		return B_BAD_TYPE;
	const char* bytes = static_cast<const char*>(data);
	std::vector<char> value(bytes, bytes + numBytes);
	if (Field* field = _FindField(name)) {
		if (field->type != type)
			return B_BAD_TYPE;
		field->values.push_back(std::move(value));
		return B_OK;
	}
	fFields.push_back(Field{name, type, {std::move(value)}});
	return B_OK;
}

status_t BMessage::_FindValue(
	const char* name, type_code type, int32 index, const std::vector<char>** value) const
{
	const Field* field = _FindField(name);
	if (field == nullptr)
		return B_NAME_NOT_FOUND;
	if (type != B_ANY_TYPE && field->type != type)
		return B_BAD_TYPE;
	if (index < 0 || size_t(index) >= field->values.size())
		return B_BAD_INDEX;
	*value = &field->values[index];
	return B_OK;
}

status_t BMessage::FindData(
	const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const
{
	const std::vector<char>* value;
	status_t status = _FindValue(name, type, index, &value);
	if (status != B_OK)
		return status;
	if (data)
		*data = value->data();
	if (numBytes)
		*numBytes = ssize_t(value->size());
	return B_OK;
}

status_t BMessage::ReplaceData(
	const char* name, type_code type, int32 index, const void* data, ssize_t numBytes)
{
	if (numBytes < 0 || (data == nullptr && numBytes > 0))
		return B_BAD_VALUE;
	const std::vector<char>* value;
	status_t status = _FindValue(name, type, index, &value);
	if (status != B_OK)
		return status;
	const char* bytes = static_cast<const char*>(data);
	const_cast<std::vector<char>*>(value)->assign(bytes, bytes + numBytes);
	return B_OK;
}

#define KIT_ADD_FIXED(Method, Type, Code) \
	status_t BMessage::Method(const char* name, Type value) \
	{ \
		std::vector<char> bytes = bytes_of(value); \
		return AddData(name, Code, bytes.data(), ssize_t(bytes.size())); \
	}

#define KIT_FIND_FIXED(Method, Type, Code) \
	status_t BMessage::Method(const char* name, int32 index, Type* value) const \
	{ \
		const std::vector<char>* bytes; \
		status_t status = _FindValue(name, Code, index, &bytes); \
		if (status != B_OK) \
			return status; \
		if (bytes->size() != sizeof(Type)) \
			return B_BAD_DATA; \
		if (value) \
			std::memcpy(value, bytes->data(), sizeof(Type)); \
		return B_OK; \
	}

KIT_ADD_FIXED(AddBool, bool, B_BOOL_TYPE)
KIT_ADD_FIXED(AddInt8, int8, B_INT8_TYPE)
KIT_ADD_FIXED(AddInt16, int16, B_INT16_TYPE)
KIT_ADD_FIXED(AddInt32, int32, B_INT32_TYPE)
KIT_ADD_FIXED(AddInt64, int64, B_INT64_TYPE)
KIT_ADD_FIXED(AddFloat, float, B_FLOAT_TYPE)
KIT_ADD_FIXED(AddDouble, double, B_DOUBLE_TYPE)
KIT_ADD_FIXED(AddPoint, BPoint, B_POINT_TYPE)
KIT_ADD_FIXED(AddRect, BRect, B_RECT_TYPE)

KIT_FIND_FIXED(FindInt8, int8, B_INT8_TYPE)
KIT_FIND_FIXED(FindInt16, int16, B_INT16_TYPE)
KIT_FIND_FIXED(FindInt32, int32, B_INT32_TYPE)
KIT_FIND_FIXED(FindInt64, int64, B_INT64_TYPE)
KIT_FIND_FIXED(FindFloat, float, B_FLOAT_TYPE)
KIT_FIND_FIXED(FindDouble, double, B_DOUBLE_TYPE)
KIT_FIND_FIXED(FindPoint, BPoint, B_POINT_TYPE)
KIT_FIND_FIXED(FindRect, BRect, B_RECT_TYPE)
KIT_FIND_FIXED(FindPointer, void*, B_POINTER_TYPE)

#undef KIT_ADD_FIXED
#undef KIT_FIND_FIXED

// A bool is stored as one byte; any byte but zero reads as true (a byte of another value
// copied into a bool would be no valid bool at all).
status_t BMessage::FindBool(const char* name, int32 index, bool* value) const
{
	const std::vector<char>* bytes;
	status_t status = _FindValue(name, B_BOOL_TYPE, index, &bytes);
	if (status != B_OK)
		return status;
	if (bytes->size() != sizeof(bool))
		return B_BAD_DATA;
	if (value)
		*value = (*bytes)[0] != 0;
	return B_OK;
}

status_t BMessage::AddPointer(const char* name, const void* value)
{
	std::vector<char> bytes = bytes_of(value);
	return AddData(name, B_POINTER_TYPE, bytes.data(), ssize_t(bytes.size()));
}

status_t BMessage::AddString(const char* name, const char* value)
{
	if (value == nullptr)
		return B_BAD_VALUE;
	return AddData(name, B_STRING_TYPE, value, ssize_t(std::strlen(value) + 1));
}

status_t BMessage::AddString(const char* name, const std::string& value)
{
	return AddString(name, value.c_str());
}

status_t BMessage::FindString(const char* name, int32 index, const char** value) const
{
	const std::vector<char>* bytes;
	status_t status = _FindValue(name, B_STRING_TYPE, index, &bytes);
	if (status != B_OK)
		return status;
	// A string field is always stored with its terminator; refuse anything else.
	if (bytes->empty() || bytes->back() != '\0')
		return B_BAD_DATA;
	if (value)
		*value = bytes->data();
	return B_OK;
}

status_t BMessage::FindString(const char* name, int32 index, std::string* value) const
{
	const char* text;
	status_t status = FindString(name, index, &text);
	if (status == B_OK && value)
		*value = text;
	return status;
}

status_t BMessage::AddRef(const char* name, const entry_ref* ref)
{
	if (ref == nullptr)
		return B_BAD_VALUE;
	std::vector<char> bytes = kit::FlattenRef(*ref);
	return AddData(name, B_REF_TYPE, bytes.data(), ssize_t(bytes.size()));
}

status_t BMessage::FindRef(const char* name, int32 index, entry_ref* ref) const
{
	const std::vector<char>* bytes;
	status_t status = _FindValue(name, B_REF_TYPE, index, &bytes);
	if (status != B_OK)
		return status;
	entry_ref found;
	if (!kit::UnflattenRef(*bytes, &found))
		return B_BAD_DATA;
	if (ref)
		*ref = found;
	return B_OK;
}

status_t BMessage::AddMessage(const char* name, const BMessage* message)
{
	if (message == nullptr)
		return B_BAD_VALUE;
	std::vector<char> bytes = kit::MessageFlattening::Flatten(*message);
	return AddData(name, B_MESSAGE_TYPE, bytes.data(), ssize_t(bytes.size()));
}

status_t BMessage::FindMessage(const char* name, int32 index, BMessage* message) const
{
	const std::vector<char>* bytes;
	status_t status = _FindValue(name, B_MESSAGE_TYPE, index, &bytes);
	if (status != B_OK)
		return status;
	BMessage found;
	if (!kit::MessageFlattening::Unflatten(bytes->data(), bytes->size(), &found))
		return B_BAD_DATA;
	if (message)
		*message = found;
	return B_OK;
}

status_t BMessage::GetInfo(const char* name, type_code* typeFound, int32* countFound) const
{
	const Field* field = _FindField(name);
	if (field == nullptr) {
		if (typeFound)
			*typeFound = 0;
		if (countFound)
			*countFound = 0;
		return B_NAME_NOT_FOUND;
	}
	if (typeFound)
		*typeFound = field->type;
	if (countFound)
		*countFound = int32(field->values.size());
	return B_OK;
}

status_t BMessage::GetInfo(type_code typeRequested, int32 index, const char** nameFound,
	type_code* typeFound, int32* countFound) const
{
	if (index < 0)
		return B_BAD_INDEX;
	int32 seen = 0;
	for (const Field& field : fFields) {
		if (typeRequested != B_ANY_TYPE && field.type != typeRequested)
			continue;
		if (seen++ != index)
			continue;
		if (nameFound)
			*nameFound = field.name.c_str();
		if (typeFound)
			*typeFound = field.type;
		if (countFound)
			*countFound = int32(field.values.size());
		return B_OK;
	}
	return seen == 0 ? B_BAD_TYPE : B_BAD_INDEX;
}

int32 BMessage::CountNames(type_code type) const
{
	int32 count = 0;
	for (const Field& field : fFields) {
		if (type == B_ANY_TYPE || field.type == type)
			count++;
	}
	return count;
}

bool BMessage::HasField(const char* name, type_code type) const
{
	const Field* field = _FindField(name);
	return field != nullptr && (type == B_ANY_TYPE || field->type == type);
}

status_t BMessage::RemoveName(const char* name)
{
	for (auto it = fFields.begin(); it != fFields.end(); ++it) {
		if (name != nullptr && it->name == name) {
			fFields.erase(it);
			return B_OK;
		}
	}
	return B_NAME_NOT_FOUND;
}

status_t BMessage::MakeEmpty()
{
	fFields.clear();
	return B_OK;
}

status_t BMessage::SendReply(BMessage* reply, BHandler* replyTo, bigtime_t)
{
	if (reply == nullptr)
		return B_BAD_VALUE;
	if (!fReplyEndpoint)
		return B_BAD_PORT_ID;
	return fReplyEndpoint->Deliver(*reply, replyTo);
}

status_t BMessage::SendReply(uint32 command, BHandler* replyTo)
{
	BMessage reply(command);
	return SendReply(&reply, replyTo);
}

bool BMessage::WasDropped() const
{
	return fWasDropped;
}

BMessenger BMessage::ReturnAddress() const
{
	if (auto* endpoint = dynamic_cast<kit::MessengerEndpoint*>(fReplyEndpoint.get()))
		return endpoint->Target();
	return BMessenger();
}

static void print_code(uint32 code)
{
	char text[5] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code), 0};
	std::printf("'%s'", text);
}

void BMessage::PrintToStream() const
{
	std::printf("BMessage(");
	print_code(what);
	std::printf(") {\n");
	for (const Field& field : fFields) {
		std::printf("\t%s, type = ", field.name.c_str());
		print_code(field.type);
		std::printf(", count = %zu\n", field.values.size());
	}
	std::printf("}\n");
}
