// A door through which other programs of the user's session send messages to one handler
// of this program. It takes a well-known name on the session bus, made from the
// application's signature, and turns each call it receives into a BMessage that it queues
// for the handler exactly as a BMessenger would; BusProtocol.h describes the calls, the
// names and the limits. Whatever arrives is checked first: a call that is malformed (wrong
// arguments, an unknown field type, a code that is not four characters, a value out of its
// type's range) is answered with an error and never reaches the handler.
//
// Without a session bus, or when another process holds the name, Publish() fails and the
// program runs on as it would without the endpoint.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Messenger.h"

// One export format as the endpoint lists it.
struct output_format_entry {
	int32 index;
	std::string name;
	std::string mime;
};

class BMessageEndpoint {
public:
	// Lists the formats the program can export to, when asked over the bus.
	typedef std::function<std::vector<output_format_entry>()> FormatLister;

	explicit BMessageEndpoint(const char* signature);
	~BMessageEndpoint();
	BMessageEndpoint(const BMessageEndpoint&) = delete;
	BMessageEndpoint& operator=(const BMessageEndpoint&) = delete;

	// The handler that receives the messages. It may go away: calls are then refused.
	void SetTarget(BHandler* handler);
	void SetFormatLister(FormatLister lister);

	// Takes the bus name: B_OK; B_NO_INIT without a session bus; B_NAME_IN_USE when
	// another process holds the name.
	status_t Publish();
	// Gives the name back; the endpoint answers no more calls.
	void Unpublish();
	bool IsPublished() const;

	// The name taken on the bus, and the path of the object answering there.
	const std::string& BusName() const;
	const std::string& ObjectPath() const;

	struct Private;

private:
	std::unique_ptr<Private> fPrivate;
};
