// The contract between a program's message endpoint (MessageEndpoint.h) and the programs
// that send it messages over the user's session bus (RemoteMessenger.h, or any D-Bus
// client). Both sides use these names, limits and checks, so that a sender and the
// endpoint can never disagree about them.
//
// Bus name. A well-known bus name is made from the application's signature:
//   1. the supertype ("application/") is dropped;
//   2. the rest is split into elements at '.';
//   3. in the first element (the "x-vnd" vendor marker) every character that a bus name
//      element cannot hold becomes '_'; every later element is split again at each '-',
//      because the platform joins a vendor and a program name with one ("Vesk-dorva");
//   4. in every element a character outside [A-Za-z0-9_] becomes '_', an element that
//      starts with a digit gets a leading '_', and empty elements are dropped;
//   5. a result of fewer than two elements gets "x_vnd." in front (and a signature that
//      leaves nothing at all becomes "x_vnd.unnamed").
// "application/x-vnd.Vesk-dorva" becomes "x_vnd.Vesk.dorva". The object path is that name
// with '.' turned into '/': "/x_vnd/Vesk/dorva".
//
// A message on the wire is (s what, a(ssv) fields). what is the message code, exactly four
// characters from ' ' to '~'. Each field value is (name, type, value); a name repeated with
// the same type adds a value to that field, in order. type and the D-Bus type its value
// holds:
//   "int8", "int16", "int32"  any D-Bus integer (y n q i u x t), within the type's range;
//                             senders here use n for int8 and int16, i for int32
//   "float"                   a double (d) or any integer, finite and within float range
//   "bool"                    b
//   "string"                  s, at most kMaxStringBytes bytes
//   "ref"                     s, an absolute path of at most kMaxPathBytes bytes; the
//                             entry need not exist. The receiver resolves the folder part
//                             (symbolic links) when it exists.
// A message holds at most kMaxFieldValues values in all, a reply at most kMaxReplyValues.
// A field of any other type (int64, a rectangle, a pointer...) cannot travel.
//
// Interface kInterfaceName, on the object path above:
//   SendMessage(s what, a(ssv) fields) -> ()
//     Queues the message for the handler the program published, through the same queue as
//     a message from inside the program; a "_QRQ" (B_QUIT_REQUESTED) goes to the
//     application, as the system's request to quit. Returns once the message is queued:
//     the sender does not wait for it to be handled.
//   SendMessageWithReply(s what, a(ssv) fields) -> (s what, a(ssv) fields)
//     Queues the message as SendMessage does, with a way back: the call is answered with
//     the message the handler gives to BMessage::SendReply(), in the same format. Only the
//     first reply counts.
// Errors (the error text says what is wrong, in words):
//   kErrorInvalidMessage  the call is malformed: wrong arguments, an unknown field type, a
//                         code that is not four characters, a value out of its type's
//                         range, a limit passed. Nothing is delivered.
//   kErrorNoTarget        the program has no handler for messages now. Nothing delivered.
//   kErrorNoReply         (SendMessageWithReply) the handler was done with the message
//                         without replying, or was gone before it came to it.
//   kErrorTimeout         (SendMessageWithReply) no reply within the endpoint's reply
//                         timeout, kReplyTimeout unless the program chose another.
//   kErrorInvalidReply    (SendMessageWithReply) the handler's reply cannot travel: a
//                         field of a type the bus does not carry, a code that is not four
//                         characters, a limit passed.
// A sender should wait longer than kReplyTimeout (kCallTimeout), so that a handler that
// never replies is reported by the endpoint's kErrorTimeout rather than by the bus.
#pragma once

#include <string>

#include "EntryRef.h"
#include "SupportDefs.h"

class BMessage;

namespace kit::bus {

extern const char kInterfaceName[];
extern const char kSendMessageMethod[];
extern const char kSendMessageWithReplyMethod[];
// Errors the endpoint answers with.
extern const char kErrorInvalidMessage[];
extern const char kErrorNoTarget[];
extern const char kErrorNoReply[];
extern const char kErrorTimeout[];
extern const char kErrorInvalidReply[];

// Limits of one message, beyond which a message is refused as absurd. A reply answers a
// question its sender asked (a list, say), so it may hold more values.
const int32 kMaxFieldValues = 256;
const int32 kMaxReplyValues = 4096;
const size_t kMaxFieldNameBytes = 255;
const size_t kMaxStringBytes = 65536;
const size_t kMaxPathBytes = 4096;

// How long the endpoint waits for a handler's reply: long enough for a handler whose
// looper is busy with a large picture, short enough that a caller is not held for good.
const bigtime_t kReplyTimeout = 20000000;
// How long a sender waits for the endpoint's answer to any call: a little more than the
// reply timeout, so that the endpoint's own error arrives first.
const bigtime_t kCallTimeout = kReplyTimeout + 5000000;

// The field type names of the wire format, in one list.
enum class field_type { int8, int16, int32, float32, boolean, string, ref };
// The name used on the wire and on the command line ("int16").
const char* field_type_name(field_type type);
// false when name is not one of the names above.
bool field_type_from_name(const std::string& name, field_type* type);
// The type called name: "" and *type set, or what is wrong ("unknown type 'x' (known:
// int8, ...)").
std::string check_field_type(const std::string& name, field_type* type);
// The BMessage type of a field type (B_INT16_TYPE), and back: false for a type that
// cannot travel.
type_code type_code_of(field_type type);
bool field_type_of(type_code code, field_type* type);

// The checks every field value passes on either side. Each returns "" when the value is
// good, otherwise what is wrong in words that name the value but not the field.
std::string check_field_name(const std::string& name);
// Integers of int8, int16 and int32. text is the value as a number in words ("255");
// tooLarge says that it did not even fit value (a 64-bit number beyond int64).
std::string check_integer(
	field_type type, int64 value, const std::string& text, bool tooLarge = false);
// Floats: finite and within float range. text is the value as it was written.
std::string check_float(double value, const std::string& text);
std::string check_string(const std::string& text);
// Refs: an absolute path, tidied by tidy_path().
std::string check_path(const std::string& path);

// Adds an integer that passed check_integer() to the message as a field of the type
// (int8, int16 or int32).
status_t add_integer(BMessage* message, const char* name, field_type type, int64 value);
// The index-th value of such a field.
status_t find_integer(
	const BMessage& message, const char* name, field_type type, int32 index, int64* value);

// A path without "." and ".." elements, doubled or trailing '/' (the root stays "/"),
// worked out from the text alone. "/tmp/./x/../b.jpg" is "/tmp/b.jpg".
std::string tidy_path(const std::string& path);
// The entry_ref of a tidied absolute path, taken from its text alone: "/tmp/b.jpg" is
// ("/tmp", "b.jpg"), "/" is the root's ("/", ".").
entry_ref ref_from_path_text(const std::string& path);

// The well-known bus name and object path for an application signature (see above).
std::string bus_name_for_signature(const std::string& signature);
std::string object_path_for_bus_name(const std::string& busName);

// Whether text can be a message code: exactly four characters from ' ' to '~'.
bool is_valid_message_code(const std::string& text);
// "" when text is a valid code, otherwise what is wrong.
std::string check_message_code(const std::string& text);
// A valid code and its value; false (and *code untouched) for any other text.
bool message_code_from_text(const std::string& text, uint32* code);
// The four characters of a code, valid or not.
std::string message_code_text(uint32 code);

} // namespace kit::bus
