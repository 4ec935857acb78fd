#include "MessageEndpoint.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QPointer>
#include <QThread>

#include <cfloat>
#include <cmath>
#include <filesystem>
#include <map>

#include "Application.h"
#include "AppDefs.h"
#include "BusProtocol.h"
#include "EntryResolution.h"
#include "QtApplication.h"

namespace {

// One row of ListOutputFormats' answer, (iss) on the wire.
struct BusOutputFormat {
	int index = 0;
	QString name;
	QString mime;
};

} // namespace

Q_DECLARE_METATYPE(BusOutputFormat)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const BusOutputFormat& format)
{
	argument.beginStructure();
	argument << format.index << format.name << format.mime;
	argument.endStructure();
	return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, BusOutputFormat& format)
{
	argument.beginStructure();
	argument >> format.index >> format.name >> format.mime;
	argument.endStructure();
	return argument;
}

using kit::bus::field_type;

// The D-Bus type of a value, for error texts.
QString dbus_type_of(const QVariant& value)
{
	if (value.metaType() == QMetaType::fromType<QDBusArgument>())
		return value.value<QDBusArgument>().currentSignature();
	const char* signature = QDBusMetaType::typeToSignature(value.metaType());
	return signature != nullptr ? QString::fromLatin1(signature) : QStringLiteral("?");
}

// An integer of any D-Bus integer type; false for anything else.
bool integer_of(const QVariant& value, int64* integer, bool* tooLarge)
{
	*tooLarge = false;
	switch (value.metaType().id()) {
		case QMetaType::UChar:
		case QMetaType::Short:
		case QMetaType::UShort:
		case QMetaType::Int:
		case QMetaType::UInt:
		case QMetaType::LongLong:
			*integer = value.toLongLong();
			return true;
		case QMetaType::ULongLong: {
			qulonglong unsignedValue = value.toULongLong();
			*tooLarge = unsignedValue > qulonglong(INT64_MAX);
			*integer = *tooLarge ? INT64_MAX : qlonglong(unsignedValue);
			return true;
		}
		default:
			return false;
	}
}

// A path from the bus as the entry_ref the storage kit would make of it. The entry need
// not exist; when its folder does not either, the ref is taken from the path's text.
entry_ref ref_for_path(const std::string& text)
{
	std::filesystem::path path = std::filesystem::path(text).lexically_normal();
	std::string normal = path.string();
	while (normal.size() > 1 && normal.back() == '/')
		normal.pop_back();
	entry_ref ref;
	if (kit::ResolveEntry(normal, false, &ref) == B_OK)
		return ref;
	std::filesystem::path plain(normal);
	return entry_ref(plain.parent_path().string(), plain.filename().string());
}

// Adds one field value to the message, after checking it against its declared type.
// Returns an empty text on success, otherwise what is wrong.
QString add_field(BMessage* message, const QString& name, const QString& typeName,
	const QVariant& value, std::map<std::string, field_type>* declared)
{
	std::string fieldName = name.toStdString();
	if (fieldName.empty())
		return QStringLiteral("a field has an empty name");
	if (fieldName.size() > kit::bus::kMaxFieldNameBytes)
		return QStringLiteral("field name longer than %1 bytes").arg(
			kit::bus::kMaxFieldNameBytes);
	const QString quoted = QLatin1Char('\'') + name + QLatin1Char('\'');

	field_type type;
	if (!kit::bus::field_type_from_name(typeName.toStdString(), &type)) {
		return QStringLiteral("field %1 has the unknown type '%2' (known: int8, int16, int32, "
							  "float, bool, string, ref)").arg(quoted, typeName);
	}
	auto known = declared->find(fieldName);
	if (known != declared->end() && known->second != type) {
		return QStringLiteral("field %1 is given as both %2 and %3").arg(quoted,
			QLatin1String(kit::bus::field_type_name(known->second)), typeName);
	}
	(*declared)[fieldName] = type;

	const QString mismatch = QStringLiteral("field %1 of type %2 holds a D-Bus value of type "
											"'%3'").arg(quoted, typeName, dbus_type_of(value));
	const char* key = fieldName.c_str();
	int64 integer = 0;
	bool tooLarge = false;
	status_t status = B_OK;
	switch (type) {
		case field_type::int8:
		case field_type::int16:
		case field_type::int32: {
			if (!integer_of(value, &integer, &tooLarge))
				return mismatch;
			int64 low = type == field_type::int8 ? INT8_MIN
				: type == field_type::int16 ? INT16_MIN : INT32_MIN;
			int64 high = type == field_type::int8 ? INT8_MAX
				: type == field_type::int16 ? INT16_MAX : INT32_MAX;
			if (tooLarge || integer < low || integer > high) {
				return QStringLiteral("field %1: %2 is out of the range of %3 (%4 to %5)")
					.arg(quoted, value.toString(), typeName).arg(low).arg(high);
			}
			if (type == field_type::int8)
				status = message->AddInt8(key, int8(integer));
			else if (type == field_type::int16)
				status = message->AddInt16(key, int16(integer));
			else
				status = message->AddInt32(key, int32(integer));
			break;
		}
		case field_type::float32: {
			double real;
			if (value.metaType().id() == QMetaType::Double)
				real = value.toDouble();
			else if (integer_of(value, &integer, &tooLarge))
				real = tooLarge ? value.toDouble() : double(integer);
			else
				return mismatch;
			if (!std::isfinite(real) || std::fabs(real) > FLT_MAX)
				return QStringLiteral("field %1: %2 is not a finite float").arg(quoted,
					value.toString());
			status = message->AddFloat(key, float(real));
			break;
		}
		case field_type::boolean:
			if (value.metaType().id() != QMetaType::Bool)
				return mismatch;
			status = message->AddBool(key, value.toBool());
			break;
		case field_type::string:
		case field_type::ref: {
			if (value.metaType().id() != QMetaType::QString)
				return mismatch;
			std::string text = value.toString().toStdString();
			if (type == field_type::string) {
				if (text.size() > kit::bus::kMaxStringBytes)
					return QStringLiteral("field %1: string longer than %2 bytes").arg(quoted)
						.arg(kit::bus::kMaxStringBytes);
				status = message->AddString(key, text);
				break;
			}
			if (text.empty() || text[0] != '/')
				return QStringLiteral("field %1: a ref must be an absolute path, not '%2'")
					.arg(quoted, value.toString());
			if (text.size() > kit::bus::kMaxPathBytes)
				return QStringLiteral("field %1: path longer than %2 bytes").arg(quoted)
					.arg(kit::bus::kMaxPathBytes);
			entry_ref ref = ref_for_path(text);
			status = message->AddRef(key, &ref);
			break;
		}
	}
	if (status != B_OK)
		return QStringLiteral("field %1 could not be added").arg(quoted);
	return QString();
}

// Builds the message of a SendMessage call; an empty text, or what is wrong with the call.
QString message_from_call(const QDBusMessage& call, BMessage* message)
{
	if (call.signature() != QLatin1String("sa(ssv)")) {
		return QStringLiteral("SendMessage takes (s what, a(ssv) fields), not (%1)")
			.arg(call.signature());
	}
	const QList<QVariant> arguments = call.arguments();
	const std::string code = arguments.at(0).toString().toStdString();
	if (!kit::bus::is_valid_message_code(code)) {
		return QStringLiteral("the message code '%1' is not four characters from ' ' to '~'")
			.arg(arguments.at(0).toString());
	}
	message->what = (uint32(uint8(code[0])) << 24) | (uint32(uint8(code[1])) << 16)
		| (uint32(uint8(code[2])) << 8) | uint32(uint8(code[3]));

	const QDBusArgument fields = arguments.at(1).value<QDBusArgument>();
	std::map<std::string, field_type> declared;
	int32 count = 0;
	QString error;
	fields.beginArray();
	while (error.isEmpty() && !fields.atEnd()) {
		if (++count > kit::bus::kMaxFieldValues) {
			error = QStringLiteral("more than %1 field values in one message")
						.arg(kit::bus::kMaxFieldValues);
			break;
		}
		QString name;
		QString type;
		QDBusVariant value;
		fields.beginStructure();
		fields >> name >> type >> value;
		fields.endStructure();
		error = add_field(message, name, type, value.variant(), &declared);
	}
	// Ending the array also frees what reading it took, whether or not all was read.
	fields.endArray();
	return error;
}

QString introspection()
{
	return QStringLiteral(
		"  <interface name=\"%1\">\n"
		"    <method name=\"%2\">\n"
		"      <arg name=\"what\" type=\"s\" direction=\"in\"/>\n"
		"      <arg name=\"fields\" type=\"a(ssv)\" direction=\"in\"/>\n"
		"    </method>\n"
		"    <method name=\"%3\">\n"
		"      <arg name=\"formats\" type=\"a(iss)\" direction=\"out\"/>\n"
		"    </method>\n"
		"  </interface>\n")
		.arg(QLatin1String(kit::bus::kInterfaceName),
			QLatin1String(kit::bus::kSendMessageMethod),
			QLatin1String(kit::bus::kListOutputFormatsMethod));
}

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
	FormatLister lister;
	bool published = false;
	std::unique_ptr<BusEndpointObject> object;
};

bool BusEndpointObject::handleMessage(const QDBusMessage& call,
	const QDBusConnection& connection)
{
	const QString interface = call.interface();
	if (!interface.isEmpty() && interface != QLatin1String(kit::bus::kInterfaceName))
		return false; // introspection and the other standard interfaces are Qt's
	// Loopers live on the GUI thread; a call seen elsewhere is answered there.
	if (QThread::currentThread() != thread()) {
		QPointer<QObject> self(this);
		QMetaObject::invokeMethod(this, [this, self, call, connection]() {
			if (self)
				_Answer(call, connection);
		}, Qt::QueuedConnection);
		return true;
	}
	_Answer(call, connection);
	return true;
}

void BusEndpointObject::_Answer(const QDBusMessage& call, QDBusConnection connection)
{
	const QString member = call.member();
	if (member == QLatin1String(kit::bus::kSendMessageMethod)) {
		BMessage message;
		QString error = message_from_call(call, &message);
		if (!error.isEmpty()) {
			connection.send(call.createErrorReply(
				QLatin1String(kit::bus::kErrorInvalidMessage), error));
			return;
		}
		// The system's request to quit is the application's to answer.
		BMessenger target = message.what == B_QUIT_REQUESTED ? be_app_messenger()
															 : fOwner->target;
		if (target.SendMessage(&message) != B_OK) {
			connection.send(call.createErrorReply(QLatin1String(kit::bus::kErrorNoTarget),
				QStringLiteral("the program has no handler for messages now")));
			return;
		}
		connection.send(call.createReply());
		return;
	}
	if (member == QLatin1String(kit::bus::kListOutputFormatsMethod)) {
		if (!call.signature().isEmpty()) {
			connection.send(call.createErrorReply(
				QLatin1String(kit::bus::kErrorInvalidMessage),
				QStringLiteral("ListOutputFormats takes no arguments")));
			return;
		}
		QDBusArgument formats;
		formats.beginArray(QMetaType::fromType<BusOutputFormat>());
		if (fOwner->lister) {
			for (const output_format_entry& entry : fOwner->lister()) {
				formats << BusOutputFormat{int(entry.index), QString::fromStdString(entry.name),
					QString::fromStdString(entry.mime)};
			}
		}
		formats.endArray();
		QDBusMessage reply = call.createReply();
		reply << QVariant::fromValue(formats);
		connection.send(reply);
		return;
	}
	connection.send(call.createErrorReply(QDBusError::UnknownMethod,
		QStringLiteral("no method '%1' here").arg(member)));
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

void BMessageEndpoint::SetFormatLister(FormatLister lister)
{
	fPrivate->lister = std::move(lister);
}

status_t BMessageEndpoint::Publish()
{
	if (fPrivate->published)
		return B_OK;
	kit::EnsureQtApplication();
	static bool registered = [] {
		qDBusRegisterMetaType<BusOutputFormat>();
		return true;
	}();
	(void)registered;

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
