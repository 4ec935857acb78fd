// One call to another program's message endpoint (BusProtocol.h): on the process's own
// connection to the session bus, waiting for the answer while the calling thread's event
// loop runs. The remote messenger makes its calls through this, and so do the test hooks.
#pragma once

#include <QDBusMessage>
#include <QList>
#include <QString>
#include <QVariant>

#include <string>

#include "SupportDefs.h"

namespace kit::bus {

// Calls method on the endpoint that owns busName, with these arguments, and waits at most
// kCallTimeout. B_OK and the answer in *answer; otherwise one of the statuses that
// RemoteMessenger.h lists and, in *error, why in words that name the program.
status_t CallEndpoint(const std::string& busName, const QString& method,
	const QList<QVariant>& arguments, QDBusMessage* answer, std::string* error);

// The program's name for texts: the last element of its bus name ("dorva").
std::string ProgramName(const std::string& busName);

} // namespace kit::bus
