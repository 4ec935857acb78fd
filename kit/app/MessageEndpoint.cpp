#include "MessageEndpoint.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <climits>

#include "AppDefs.h"
#include "Application.h"
#include "BusArguments.h"
#include "BusProtocol.h"
#include "QtApplication.h"
#include "ReplyEndpoint.h"

namespace {

QString introspection()
{
	return QStringLiteral(
		"  <interface name=\"%1\">\n"
		"    <method name=\"%2\">\n"
		"      <arg name=\"what\" type=\"s\" direction=\"in\"/>\n"
		"      <arg name=\"fields\" type=\"a(ssv)\" direction=\"in\"/>\n"
		"    </method>\n"
		"    <method name=\"%3\">\n"
		"      <arg name=\"what\" type=\"s\" direction=\"in\"/>\n"
		"      <arg name=\"fields\" type=\"a(ssv)\" direction=\"in\"/>\n"
		"      <arg name=\"reply_what\" type=\"s\" direction=\"out\"/>\n"
		"      <arg name=\"reply_fields\" type=\"a(ssv)\" direction=\"out\"/>\n"
		"    </method>\n"
		"  </interface>\n")
		.arg(QLatin1String(kit::bus::kInterfaceName), QLatin1String(kit::bus::kSendMessageMethod),
			QLatin1String(kit::bus::kSendMessageWithReplyMethod));
}

// Milliseconds for a timer, at least one, at most what a timer takes.
int timer_milliseconds(bigtime_t microseconds)
{
	bigtime_t milliseconds = microseconds / 1000 + (microseconds % 1000 != 0 ? 1 : 0);
	return int(std::clamp<bigtime_t>(milliseconds, 1, INT_MAX));
}

// The way back for one SendMessageWithReply call. The first reply the handler sends
// answers the caller; the reply timeout, or the last copy of the message going away
// unanswered, answers it with an error instead. Exactly one answer goes out.
class BusReplyEndpoint : public kit::ReplyEndpoint {
public:
	BusReplyEndpoint(const QDBusMessage& call, const QDBusConnection& connection, bigtime_t timeout)
		: fCall(call), fConnection(connection), fTimer(new QTimer)
	{
		fCall.setDelayedReply(true);
		fTimer->setSingleShot(true);
		QObject::connect(fTimer, &QTimer::timeout, [this, timeout]() {
			Refuse(kit::bus::kErrorTimeout,
				QStringLiteral("the handler did not reply within %1 ms")
					.arg(timer_milliseconds(timeout)));
		});
		fTimer->start(timer_milliseconds(timeout));
	}

	~BusReplyEndpoint() override
	{
		Refuse(kit::bus::kErrorNoReply,
			QStringLiteral("the handler was done with the message without replying"));
		// The timer belongs to the thread that made it; a message may end elsewhere.
		QObject::disconnect(fTimer, nullptr, nullptr, nullptr);
		if (QThread::currentThread() == fTimer->thread())
			delete fTimer;
		else
			fTimer->deleteLater();
	}

	status_t Deliver(const BMessage& reply, BHandler*) override
	{
		if (fAnswered.load())
			return B_BAD_PORT_ID;
		QList<QVariant> arguments;
		QString problem = kit::bus::EncodeMessage(reply, kit::bus::kMaxReplyValues, &arguments);
		if (!problem.isEmpty()) {
			Refuse(kit::bus::kErrorInvalidReply,
				QStringLiteral("the handler's reply cannot travel: %1").arg(problem));
			return B_BAD_VALUE;
		}
		if (fAnswered.exchange(true))
			return B_BAD_PORT_ID;
		fConnection.send(fCall.createReply(arguments));
		return B_OK;
	}

	// Answers the caller with an error, unless it has had its answer.
	void Refuse(const char* error, const QString& text)
	{
		if (!fAnswered.exchange(true))
			fConnection.send(fCall.createErrorReply(QLatin1String(error), text));
	}

private:
	QDBusMessage fCall;
	QDBusConnection fConnection;
	QTimer* fTimer;
	std::atomic<bool> fAnswered{false};
};

} // namespace

// Answers the calls on the endpoint's object path, in the GUI thread where the loopers run.
class BusEndpointObject : public QDBusVirtualObject {
public:
	explicit BusEndpointObject(BMessageEndpoint::Private* owner) : fOwner(owner) {}

	QString introspect(const QString&) const override { return introspection(); }
	bool handleMessage(const QDBusMessage& call, const QDBusConnection& connection) override;

private:
	void _Answer(const QDBusMessage& call, QDBusConnection connection);

	BMessageEndpoint::Private* fOwner;
};

struct BMessageEndpoint::Private {
	std::string signature;
	std::string busName;
	std::string objectPath;
	BMessenger target;
	// Codes the application answers itself; B_QUIT_REQUESTED always is one.
	std::vector<uint32> applicationCodes{B_QUIT_REQUESTED};
	bigtime_t replyTimeout = kit::bus::kReplyTimeout;
	bool published = false;
	std::unique_ptr<BusEndpointObject> object;
};

bool BusEndpointObject::handleMessage(const QDBusMessage& call, const QDBusConnection& connection)
{
	const QString interface = call.interface();
	if (!interface.isEmpty() && interface != QLatin1String(kit::bus::kInterfaceName))
		return false; // introspection and the other standard interfaces are Qt's
	// Loopers live on the GUI thread; a call seen elsewhere is answered there.
	if (QThread::currentThread() != thread()) {
		QPointer<QObject> self(this);
		QMetaObject::invokeMethod(
			this,
			[this, self, call, connection]() {
				if (self)
					_Answer(call, connection);
			},
			Qt::QueuedConnection);
		return true;
	}
	_Answer(call, connection);
	return true;
}

void BusEndpointObject::_Answer(const QDBusMessage& call, QDBusConnection connection)
{
	const QString member = call.member();
	const bool withReply = member == QLatin1String(kit::bus::kSendMessageWithReplyMethod);
	if (!withReply && member != QLatin1String(kit::bus::kSendMessageMethod)) {
		connection.send(call.createErrorReply(
			QDBusError::UnknownMethod, QStringLiteral("no method '%1' here").arg(member)));
		return;
	}
	BMessage message;
	QString error = kit::bus::DecodeMessage(call, kit::bus::kMaxFieldValues, &message);
	if (!error.isEmpty()) {
		connection.send(
			call.createErrorReply(QLatin1String(kit::bus::kErrorInvalidMessage), error));
		return;
	}
	std::shared_ptr<BusReplyEndpoint> wayBack;
	if (withReply) {
		wayBack = std::make_shared<BusReplyEndpoint>(call, connection, fOwner->replyTimeout);
		kit::ReplyEndpoint::Attach(message, wayBack);
	}
	// The system's request to quit, and what else the application answers itself, are the
	// application's.
	const std::vector<uint32>& own = fOwner->applicationCodes;
	BMessenger target = std::find(own.begin(), own.end(), message.what) != own.end()
		? be_app_messenger()
		: fOwner->target;
	if (target.SendMessage(&message) != B_OK) {
		const QString text = QStringLiteral("the program has no handler for messages now");
		if (wayBack)
			wayBack->Refuse(kit::bus::kErrorNoTarget, text);
		else
			connection.send(call.createErrorReply(QLatin1String(kit::bus::kErrorNoTarget), text));
		return;
	}
	if (!withReply)
		connection.send(call.createReply());
}

BMessageEndpoint::BMessageEndpoint(const char* signature) : fPrivate(new Private)
{
	fPrivate->signature = signature ? signature : "";
	fPrivate->busName = kit::bus::bus_name_for_signature(fPrivate->signature);
	fPrivate->objectPath = kit::bus::object_path_for_bus_name(fPrivate->busName);
}

BMessageEndpoint::~BMessageEndpoint()
{
	Unpublish();
}

void BMessageEndpoint::SetTarget(BHandler* handler)
{
	fPrivate->target = handler != nullptr ? BMessenger(handler) : BMessenger();
}

void BMessageEndpoint::SendToApplication(uint32 what)
{
	std::vector<uint32>& own = fPrivate->applicationCodes;
	if (std::find(own.begin(), own.end(), what) == own.end())
		own.push_back(what);
}

void BMessageEndpoint::SetReplyTimeout(bigtime_t timeout)
{
	if (timeout > 0)
		fPrivate->replyTimeout = timeout;
}

status_t BMessageEndpoint::Publish()
{
	if (fPrivate->published)
		return B_OK;
	kit::EnsureQtApplication();
	QDBusConnection bus = QDBusConnection::sessionBus();
	if (!bus.isConnected())
		return B_NO_INIT;
	const QString path = QString::fromStdString(fPrivate->objectPath);
	fPrivate->object = std::make_unique<BusEndpointObject>(fPrivate.get());
	// The object is in place before the name appears, so that a sender that waits for the
	// name finds something to talk to.
	if (!bus.registerVirtualObject(path, fPrivate->object.get())) {
		fPrivate->object.reset();
		return B_NAME_IN_USE;
	}
	if (!bus.registerService(QString::fromStdString(fPrivate->busName))) {
		bus.unregisterObject(path);
		fPrivate->object.reset();
		return B_NAME_IN_USE;
	}
	fPrivate->published = true;
	return B_OK;
}

void BMessageEndpoint::Unpublish()
{
	if (!fPrivate->published)
		return;
	QDBusConnection bus = QDBusConnection::sessionBus();
	bus.unregisterService(QString::fromStdString(fPrivate->busName));
	bus.unregisterObject(QString::fromStdString(fPrivate->objectPath));
	fPrivate->object.reset();
	fPrivate->published = false;
}

bool BMessageEndpoint::IsPublished() const
{
	return fPrivate->published;
}

const std::string& BMessageEndpoint::BusName() const
{
	return fPrivate->busName;
}

const std::string& BMessageEndpoint::ObjectPath() const
{
	return fPrivate->objectPath;
}
