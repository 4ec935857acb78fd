// A door through which other programs of the user's session send messages to one handler
// of this program. It takes a well-known name on the session bus, made from the
// application's signature, and turns each call it receives into a BMessage that it queues
// for the handler exactly as a BMessenger would; BusProtocol.h describes the calls, the
// names, the errors and the limits. Whatever arrives is checked first: a call that is
// malformed (wrong arguments, an unknown field type, a code that is not four characters, a
// value out of its type's range) is answered with an error and never reaches the handler.
//
// A caller may ask for a reply: the handler then answers with BMessage::SendReply() as it
// would answer a message from inside the program, and the endpoint hands the reply back
// over the bus. When the handler is done with the message without replying, or has not
// replied within the reply timeout, the caller gets an error instead.
//
// Without a session bus, or when another process holds the name, Publish() fails and the
// program runs on as it would without the endpoint.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Messenger.h"

class BMessageEndpoint {
public:
	explicit BMessageEndpoint(const char* signature);
	~BMessageEndpoint();
	BMessageEndpoint(const BMessageEndpoint&) = delete;
	BMessageEndpoint& operator=(const BMessageEndpoint&) = delete;

	// The handler that receives the messages. It may go away: calls are then refused.
	void SetTarget(BHandler* handler);
	// Messages with this code go to the application object instead of the handler, as
	// B_QUIT_REQUESTED always does.
	void SendToApplication(uint32 what);
	// How long a caller that asked for a reply waits for the handler's reply (positive;
	// kit::bus::kReplyTimeout unless set). It applies to calls that arrive afterwards.
	void SetReplyTimeout(bigtime_t timeout);

	// Takes the bus name: B_OK; B_NO_INIT without a session bus; B_NAME_IN_USE when
	// another process holds the name.
	status_t Publish();
	// Gives the name back; the endpoint answers no more calls. Replies still owed to
	// earlier calls are delivered, or refused with an error, as before.
	void Unpublish();
	bool IsPublished() const;

	// The name taken on the bus, and the path of the object answering there.
	const std::string& BusName() const;
	const std::string& ObjectPath() const;

	struct Private;

private:
	std::unique_ptr<Private> fPrivate;
};
