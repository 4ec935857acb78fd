// The contract between a program's message endpoint (MessageEndpoint.h) and the programs
// that send it messages over the user's session bus. Both sides use these names and limits,
// so that the sending tool and the endpoint can never disagree about them.
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
// Interface kInterfaceName, methods:
//   SendMessage(s what, a(ssv) fields) -> ()
//     what is the message code, exactly four characters from ' ' to '~'. Each field is
//     (name, type, value); a name repeated with the same type adds a value to that field.
//     type and the D-Bus type its value must hold:
//       "int8", "int16", "int32"  any D-Bus integer (y n q i u x t), within the type's range
//       "float"                   a double (d) or any integer, finite and within float range
//       "bool"                    b
//       "string"                  s, at most kMaxStringBytes bytes
//       "ref"                     s, an absolute path of at most kMaxPathBytes bytes; the
//                                 entry need not exist
//     The message goes to the handler the program published, through the same queue as a
//     message from inside the program; a "_QRQ" (B_QUIT_REQUESTED) goes to the application,
//     as the system's request to quit. The call returns once the message is queued: the
//     sender does not wait for it to be handled. A malformed call is answered with the
//     error kErrorInvalidMessage and a text that says what is wrong; nothing is delivered.
//   ListOutputFormats() -> a(iss)
//     The formats the program can export to: index, name, MIME type, in index order.
#pragma once

#include <string>

#include "SupportDefs.h"

namespace kit::bus {

extern const char kInterfaceName[];
extern const char kSendMessageMethod[];
extern const char kListOutputFormatsMethod[];
// Errors the endpoint answers with.
extern const char kErrorInvalidMessage[];
extern const char kErrorNoTarget[];

// Limits of one message, beyond which a message is refused as absurd.
const int32 kMaxFieldValues = 256;
const size_t kMaxFieldNameBytes = 255;
const size_t kMaxStringBytes = 65536;
const size_t kMaxPathBytes = 4096;

// The field type names of the wire format, in one list.
enum class field_type { int8, int16, int32, float32, boolean, string, ref };
// The name used on the wire and on the command line ("int16").
const char* field_type_name(field_type type);
// false when name is not one of the names above.
bool field_type_from_name(const std::string& name, field_type* type);

// The well-known bus name and object path for an application signature (see above).
std::string bus_name_for_signature(const std::string& signature);
std::string object_path_for_bus_name(const std::string& busName);

// Whether text can be a message code: exactly four characters from ' ' to '~'.
bool is_valid_message_code(const std::string& text);

} // namespace kit::bus
