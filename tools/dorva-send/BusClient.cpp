#include "BusClient.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusVariant>
#include <QEventLoop>

#include "BusProtocol.h"

namespace {

// One field on the wire, (ssv).
struct BusField {
	QString name;
	QString type;
	QDBusVariant value;
};

} // namespace

Q_DECLARE_METATYPE(BusField)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const BusField& field)
{
	argument.beginStructure();
	argument << field.name << field.type << field.value;
	argument.endStructure();
	return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BusField& field)
{
	argument.beginStructure();
	argument >> field.name >> field.type >> field.value;
	argument.endStructure();
	return argument;
}

QVariant variant_of(const dorva_send::wire_field& field)
{
	if (const int64_t* integer = std::get_if<int64_t>(&field.value))
		return QVariant::fromValue(qlonglong(*integer));
	if (const double* real = std::get_if<double>(&field.value))
		return QVariant::fromValue(*real);
	if (const bool* flag = std::get_if<bool>(&field.value))
		return QVariant::fromValue(*flag);
	return QVariant::fromValue(QString::fromStdString(std::get<std::string>(field.value)));
}

// Checks that there is a bus and a program on it; "" or why not.
std::string reach(const std::string& busName, QDBusConnection* bus)
{
	if (QCoreApplication::instance() == nullptr)
		return "internal error: no application object to run the bus on";
	static bool registered = [] {
		qDBusRegisterMetaType<BusField>();
		return true;
	}();
	(void)registered;
	// A connection of its own, so that a program in the same process (a test) is reached
	// through the bus like any other instead of by Qt's shortcut for local calls.
	*bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
		QStringLiteral("dorva-send"));
	if (!bus->isConnected()) {
		std::string why = bus->lastError().message().toStdString();
		return "no session bus" + (why.empty() ? std::string() : ": " + why);
	}
	QDBusReply<bool> running = bus->interface()->isServiceRegistered(
		QString::fromStdString(busName));
	if (!running.isValid())
		return "cannot ask the session bus: " + running.error().message().toStdString();
	if (!running.value())
		return "dorva is not running (nothing owns " + busName + " on the session bus)";
	return "";
}

// Sends the call and waits for its answer without blocking the caller's event loop.
QDBusMessage call_and_wait(const QDBusConnection& bus, const QDBusMessage& call)
{
	QDBusPendingCall pending = bus.asyncCall(call);
	QDBusPendingCallWatcher watcher(pending);
	if (!watcher.isFinished()) {
		QEventLoop loop;
		QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop,
			&QEventLoop::quit);
		loop.exec();
	}
	return watcher.reply();
}

QDBusMessage method_call(const std::string& busName, const char* method)
{
	return QDBusMessage::createMethodCall(QString::fromStdString(busName),
		QString::fromStdString(kit::bus::object_path_for_bus_name(busName)),
		QLatin1String(kit::bus::kInterfaceName), QLatin1String(method));
}

std::string refusal(const QDBusMessage& reply)
{
	return "dorva refused the message: " + reply.errorMessage().toStdString();
}

} // namespace

namespace dorva_send {

std::string send_message(const std::string& busName, const std::string& what,
	const std::vector<wire_field>& fields)
{
	QDBusConnection bus(QStringLiteral("unused"));
	std::string why = reach(busName, &bus);
	if (!why.empty())
		return why;

	QDBusArgument wire;
	wire.beginArray(QMetaType::fromType<BusField>());
	for (const wire_field& field : fields) {
		wire << BusField{QString::fromStdString(field.name), QString::fromStdString(field.type),
			QDBusVariant(variant_of(field))};
	}
	wire.endArray();

	QDBusMessage call = method_call(busName, kit::bus::kSendMessageMethod);
	call << QString::fromStdString(what) << QVariant::fromValue(wire);
	QDBusMessage reply = call_and_wait(bus, call);
	if (reply.type() == QDBusMessage::ErrorMessage)
		return refusal(reply);
	return "";
}

std::string list_output_formats(const std::string& busName, std::vector<listed_format>* formats)
{
	QDBusConnection bus(QStringLiteral("unused"));
	std::string why = reach(busName, &bus);
	if (!why.empty())
		return why;

	QDBusMessage reply = call_and_wait(bus,
		method_call(busName, kit::bus::kListOutputFormatsMethod));
	if (reply.type() == QDBusMessage::ErrorMessage)
		return refusal(reply);
	if (reply.signature() != QLatin1String("a(iss)"))
		return "dorva answered with (" + reply.signature().toStdString()
			+ ") instead of a list of formats";
	const QDBusArgument list = reply.arguments().at(0).value<QDBusArgument>();
	formats->clear();
	list.beginArray();
	while (!list.atEnd()) {
		int index = 0;
		QString name;
		QString mime;
		list.beginStructure();
		list >> index >> name >> mime;
		list.endStructure();
		formats->push_back(listed_format{index, name.toStdString(), mime.toStdString()});
	}
	list.endArray();
	return "";
}

} // namespace dorva_send
