#include "BusCall.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>

#include "BusProtocol.h"

namespace {

// The connection's name in this process. A connection of its own, so that an endpoint in
// the same process (a test, or a program calling itself) is reached through the bus like
// any other, instead of by Qt's shortcut for local calls.
const char kConnectionName[] = "kit-remote-messenger";

// Calls need an event loop to wait in. A program that has an application object lends its
// own; otherwise a plain one is made, which needs no display, and kept for the process.
void ensure_event_loop()
{
	if (QCoreApplication::instance() != nullptr)
		return;
	static int argc = 1;
	static char name[] = "kit-remote-messenger";
	static char* argv[] = {name, nullptr};
	static QCoreApplication* application = new QCoreApplication(argc, argv);
	(void)application;
}

// The milliseconds a timeout in microseconds gives.
int milliseconds(bigtime_t microseconds)
{
	return int(microseconds / 1000);
}

// The status and the words for an error answer.
status_t status_for_error(
	const QDBusMessage& answer, const std::string& busName, std::string* error)
{
	const std::string program = kit::bus::ProgramName(busName);
	const QString name = answer.errorName();
	const std::string text = answer.errorMessage().toStdString();
	if (name == QDBusError::errorString(QDBusError::ServiceUnknown)
		|| name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
		*error = program + " is not running (nothing owns " + busName + " on the session bus)";
		return B_NAME_NOT_FOUND;
	}
	if (name == QLatin1String(kit::bus::kErrorInvalidMessage)) {
		*error = program + " refused the message: " + text;
		return B_BAD_VALUE;
	}
	if (name == QLatin1String(kit::bus::kErrorNoTarget)) {
		*error = program + " refused the message: " + text;
		return B_BAD_HANDLER;
	}
	if (name == QLatin1String(kit::bus::kErrorTimeout)) {
		*error = program + " did not reply: " + text;
		return B_TIMED_OUT;
	}
	if (name == QLatin1String(kit::bus::kErrorNoReply)) {
		*error = program + " did not reply: " + text;
		return B_ERROR;
	}
	if (name == QLatin1String(kit::bus::kErrorInvalidReply)) {
		*error = program + " could not send its reply: " + text;
		return B_BAD_DATA;
	}
	if (name == QDBusError::errorString(QDBusError::NoReply)
		|| name == QDBusError::errorString(QDBusError::Timeout)
		|| name == QDBusError::errorString(QDBusError::TimedOut)) {
		*error = program + " did not answer within "
			+ std::to_string(kit::bus::kCallTimeout / 1000000) + " s";
		return B_TIMED_OUT;
	}
	*error = program + " answered with the error " + name.toStdString() + ": " + text;
	return B_ERROR;
}

} // namespace

namespace kit::bus {

std::string ProgramName(const std::string& busName)
{
	size_t dot = busName.rfind('.');
	return dot == std::string::npos ? busName : busName.substr(dot + 1);
}

status_t CallEndpoint(const std::string& busName, const QString& method,
	const QList<QVariant>& arguments, QDBusMessage* answer, std::string* error)
{
	ensure_event_loop();
	QDBusConnection bus =
		QDBusConnection::connectToBus(QDBusConnection::SessionBus, QLatin1String(kConnectionName));
	if (!bus.isConnected()) {
		std::string why = bus.lastError().message().toStdString();
		// Forgotten, so that the next call tries again.
		QDBusConnection::disconnectFromBus(QLatin1String(kConnectionName));
		*error = "no session bus" + (why.empty() ? std::string() : ": " + why);
		return B_NO_INIT;
	}

	QDBusMessage call = QDBusMessage::createMethodCall(QString::fromStdString(busName),
		QString::fromStdString(object_path_for_bus_name(busName)), QLatin1String(kInterfaceName),
		method);
	call.setArguments(arguments);
	QDBusPendingCall pending = bus.asyncCall(call, milliseconds(kCallTimeout));
	QDBusPendingCallWatcher watcher(pending);
	if (!watcher.isFinished()) {
		QEventLoop loop;
		QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
		loop.exec();
	}
	*answer = watcher.reply();
	if (answer->type() == QDBusMessage::ErrorMessage)
		return status_for_error(*answer, busName, error);
	error->clear();
	return B_OK;
}

} // namespace kit::bus
