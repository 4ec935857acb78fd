// A message: a 32-bit code and named fields. Each field has a type and one or more values,
// and the fields keep the order in which they were added.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppDefs.h"
#include "EntryRef.h"
#include "Rect.h"
#include "TypeConstants.h"

class BHandler;
class BMessenger;

namespace kit {
class MessageFlattening;
class ReplyEndpoint;
} // namespace kit

class BMessage {
public:
	uint32 what;

	BMessage();
	explicit BMessage(uint32 what);
	BMessage(const BMessage& other);
	BMessage& operator=(const BMessage& other);
	virtual ~BMessage();

	// Fields of any type. Adding a value to an existing field requires the same type.
	status_t AddData(const char* name, type_code type, const void* data, ssize_t numBytes,
		bool isFixedSize = true, int32 count = 1);
	status_t FindData(
		const char* name, type_code type, int32 index, const void** data, ssize_t* numBytes) const;
	status_t FindData(const char* name, type_code type, const void** data, ssize_t* numBytes) const
	{
		return FindData(name, type, 0, data, numBytes);
	}
	status_t ReplaceData(
		const char* name, type_code type, int32 index, const void* data, ssize_t numBytes);

	status_t AddBool(const char* name, bool value);
	status_t AddInt8(const char* name, int8 value);
	status_t AddInt16(const char* name, int16 value);
	status_t AddInt32(const char* name, int32 value);
	status_t AddInt64(const char* name, int64 value);
	status_t AddFloat(const char* name, float value);
	status_t AddDouble(const char* name, double value);
	status_t AddString(const char* name, const char* value);
	status_t AddString(const char* name, const std::string& value);
	status_t AddPointer(const char* name, const void* value);
	status_t AddPoint(const char* name, BPoint value);
	status_t AddRect(const char* name, BRect value);
	status_t AddRef(const char* name, const entry_ref* ref);
	status_t AddMessage(const char* name, const BMessage* message);

	status_t FindBool(const char* name, int32 index, bool* value) const;
	status_t FindInt8(const char* name, int32 index, int8* value) const;
	status_t FindInt16(const char* name, int32 index, int16* value) const;
	status_t FindInt32(const char* name, int32 index, int32* value) const;
	status_t FindInt64(const char* name, int32 index, int64* value) const;
	status_t FindFloat(const char* name, int32 index, float* value) const;
	status_t FindDouble(const char* name, int32 index, double* value) const;
	// The string stays valid while the message lives and is not changed.
	status_t FindString(const char* name, int32 index, const char** value) const;
	status_t FindString(const char* name, int32 index, std::string* value) const;
	status_t FindPointer(const char* name, int32 index, void** value) const;
	status_t FindPoint(const char* name, int32 index, BPoint* value) const;
	status_t FindRect(const char* name, int32 index, BRect* value) const;
	status_t FindRef(const char* name, int32 index, entry_ref* ref) const;
	status_t FindMessage(const char* name, int32 index, BMessage* message) const;

	status_t FindBool(const char* name, bool* value) const { return FindBool(name, 0, value); }
	status_t FindInt8(const char* name, int8* value) const { return FindInt8(name, 0, value); }
	status_t FindInt16(const char* name, int16* value) const { return FindInt16(name, 0, value); }
	status_t FindInt32(const char* name, int32* value) const { return FindInt32(name, 0, value); }
	status_t FindInt64(const char* name, int64* value) const { return FindInt64(name, 0, value); }
	status_t FindFloat(const char* name, float* value) const { return FindFloat(name, 0, value); }
	status_t FindDouble(const char* name, double* value) const
	{
		return FindDouble(name, 0, value);
	}
	status_t FindString(const char* name, const char** value) const
	{
		return FindString(name, 0, value);
	}
	status_t FindString(const char* name, std::string* value) const
	{
		return FindString(name, 0, value);
	}
	status_t FindPointer(const char* name, void** value) const
	{
		return FindPointer(name, 0, value);
	}
	status_t FindPoint(const char* name, BPoint* value) const { return FindPoint(name, 0, value); }
	status_t FindRect(const char* name, BRect* value) const { return FindRect(name, 0, value); }
	status_t FindRef(const char* name, entry_ref* ref) const { return FindRef(name, 0, ref); }
	status_t FindMessage(const char* name, BMessage* message) const
	{
		return FindMessage(name, 0, message);
	}

	// The type and number of values of the field called name.
	status_t GetInfo(const char* name, type_code* typeFound, int32* countFound = nullptr) const;
	// The index-th field of the given type (B_ANY_TYPE: of any type), in the order the
	// fields were added. *nameFound stays valid while the message lives and is not changed.
	status_t GetInfo(type_code typeRequested, int32 index, const char** nameFound,
		type_code* typeFound, int32* countFound = nullptr) const;
	int32 CountNames(type_code type) const;
	bool HasField(const char* name, type_code type = B_ANY_TYPE) const;
	bool IsEmpty() const { return fFields.empty(); }

	status_t RemoveName(const char* name);
	status_t MakeEmpty();

	// Replies go to whoever the sender named as its reply handler. replyTo names the handler
	// that should receive the answer to this reply.
	status_t SendReply(
		BMessage* reply, BHandler* replyTo = nullptr, bigtime_t timeout = B_INFINITE_TIMEOUT);
	status_t SendReply(uint32 command, BHandler* replyTo = nullptr);
	// Whether someone takes a reply to this message: its sender named a reply handler, or
	// waits for the answer (another program calling with a reply, a drag source).
	bool IsSourceWaiting() const { return fReplyEndpoint != nullptr; }
	bool WasDropped() const;
	BMessenger ReturnAddress() const;

	void PrintToStream() const;

private:
	friend class kit::MessageFlattening;
	friend class kit::ReplyEndpoint;

	struct Field {
		std::string name;
		type_code type;
		std::vector<std::vector<char>> values;
	};

	Field* _FindField(const char* name);
	const Field* _FindField(const char* name) const;
	status_t _FindValue(
		const char* name, type_code type, int32 index, const std::vector<char>** value) const;

	std::vector<Field> fFields;
	std::shared_ptr<kit::ReplyEndpoint> fReplyEndpoint;
	bool fWasDropped = false;
};
