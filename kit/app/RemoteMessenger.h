// A messenger to another program of the user's session. It reaches the handler that the
// program published with BApplication::PublishMessageTarget(), over the session bus, by the
// program's application signature (BusProtocol.h describes the wire). The program need
// not run when the messenger is made; each call looks for it anew.
//
// A message travels with the field types the bus carries: int8, int16, int32, float, bool,
// string and entry_ref (as its path). A message with a field of another type is not sent.
//
// While a call waits for its answer (at most kit::bus::kCallTimeout), the calling thread's
// event loop runs, as in BAlert::Go(), so that a program can even reach its own endpoint.
// In a program without an application object the kit makes a plain one for the bus, which
// needs no display; a program that wants a BApplication makes it before its first call.
#pragma once

#include <string>

#include "Message.h"

class BRemoteMessenger {
public:
	explicit BRemoteMessenger(const char* signature);

	// Delivers a copy of message; returns once the program has queued it for its handler.
	status_t SendMessage(BMessage* message);
	// Delivers a copy of message and waits for the handler's reply, which replaces *reply.
	status_t SendMessage(BMessage* message, BMessage* reply);

	// The results:
	//   B_OK              delivered (and replied to)
	//   B_BAD_VALUE       the message cannot travel (a field of a type the bus does not
	//                     carry, a limit passed), or the program refused it as malformed
	//   B_NO_INIT         there is no session bus
	//   B_NAME_NOT_FOUND  the program is not running
	//   B_BAD_HANDLER     the program has no handler for messages now
	//   B_TIMED_OUT       no reply in time
	//   B_BAD_DATA        the reply could not travel, or arrived malformed
	//   B_ERROR           the handler was done with the message without replying, or any
	//                     other failure
	// After a failure ErrorText() says what went wrong in words that name the program
	// ("dorva is not running (...)"); after a success it is empty.
	const char* ErrorText() const { return fError.c_str(); }

	// The name the program answers under on the bus.
	const char* BusName() const { return fBusName.c_str(); }

private:
	status_t _Send(BMessage* message, BMessage* reply);

	std::string fBusName;
	std::string fError;
};
