#include "RemoteMessenger.h"

#include <QDBusMessage>

#include "BusArguments.h"
#include "BusCall.h"
#include "BusProtocol.h"

BRemoteMessenger::BRemoteMessenger(const char* signature)
	: fBusName(kit::bus::bus_name_for_signature(signature != nullptr ? signature : ""))
{
}

status_t BRemoteMessenger::SendMessage(BMessage* message)
{
	return _Send(message, nullptr);
}

status_t BRemoteMessenger::SendMessage(BMessage* message, BMessage* reply)
{
	if (reply == nullptr) {
		fError = "no message to take the reply";
		return B_BAD_VALUE;
	}
	return _Send(message, reply);
}

status_t BRemoteMessenger::_Send(BMessage* message, BMessage* reply)
{
	if (message == nullptr) {
		fError = "no message to send";
		return B_BAD_VALUE;
	}
	QList<QVariant> arguments;
	QString problem = kit::bus::EncodeMessage(*message, kit::bus::kMaxFieldValues, &arguments);
	if (!problem.isEmpty()) {
		fError = "the message cannot be sent: " + problem.toStdString();
		return B_BAD_VALUE;
	}
	const char* method =
		reply != nullptr ? kit::bus::kSendMessageWithReplyMethod : kit::bus::kSendMessageMethod;
	QDBusMessage answer;
	status_t status =
		kit::bus::CallEndpoint(fBusName, QLatin1String(method), arguments, &answer, &fError);
	if (status != B_OK || reply == nullptr)
		return status;

	// The answer comes from another process: it is checked like any message that arrives.
	BMessage received;
	problem = kit::bus::DecodeMessage(answer, kit::bus::kMaxReplyValues, &received);
	if (!problem.isEmpty()) {
		fError =
			kit::bus::ProgramName(fBusName) + "'s reply is malformed: " + problem.toStdString();
		return B_BAD_DATA;
	}
	*reply = received;
	return B_OK;
}
