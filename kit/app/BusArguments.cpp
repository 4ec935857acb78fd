#include "BusArguments.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

#include <map>
#include <string>

#include "BusProtocol.h"
#include "EntryResolution.h"
#include "Message.h"

namespace {

// One field value on the wire, (ssv).
struct WireField {
	QString name;
	QString type;
	QDBusVariant value;
};

} // namespace

Q_DECLARE_METATYPE(WireField)

namespace {

using kit::bus::field_type;

QDBusArgument& operator<<(QDBusArgument& argument, const WireField& field)
{
	argument.beginStructure();
	argument << field.name << field.type << field.value;
	argument.endStructure();
	return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, WireField& field)
{
	argument.beginStructure();
	argument >> field.name >> field.type >> field.value;
	argument.endStructure();
	return argument;
}

const char kMessageSignature[] = "sa(ssv)";

QString from_std(const std::string& text)
{
	return QString::fromStdString(text);
}

QString quoted(const std::string& name)
{
	return QLatin1Char('\'') + from_std(name) + QLatin1Char('\'');
}

// The D-Bus type of a value, for error texts.
QString dbus_type_of(const QVariant& value)
{
	if (value.metaType() == QMetaType::fromType<QDBusArgument>())
		return value.value<QDBusArgument>().currentSignature();
	const char* signature = QDBusMetaType::typeToSignature(value.metaType());
	return signature != nullptr ? QString::fromLatin1(signature) : QStringLiteral("?");
}

// An integer of any D-Bus integer type, and the number in words; false for anything else.
// A byte is a number here, never a character.
bool integer_of(const QVariant& value, int64* integer, bool* tooLarge, std::string* text)
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
			*text = std::to_string(*integer);
			return true;
		case QMetaType::ULongLong: {
			qulonglong unsignedValue = value.toULongLong();
			*tooLarge = unsignedValue > qulonglong(INT64_MAX);
			*integer = *tooLarge ? INT64_MAX : qlonglong(unsignedValue);
			*text = std::to_string(unsignedValue);
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
	std::string normal = kit::bus::tidy_path(text);
	entry_ref ref;
	if (kit::ResolveEntry(normal, false, &ref) == B_OK)
		return ref;
	return kit::bus::ref_from_path_text(normal);
}

// Adds one field value to the message, after checking it against its declared type.
// Returns an empty text on success, otherwise what is wrong.
QString add_field(
	BMessage* message, const WireField& field, std::map<std::string, field_type>* declared)
{
	const std::string name = field.name.toStdString();
	const std::string typeName = field.type.toStdString();
	const QVariant value = field.value.variant();
	std::string problem = kit::bus::check_field_name(name);
	if (!problem.empty())
		return QStringLiteral("a field name is wrong: %1").arg(from_std(problem));
	auto fail = [&](const std::string& why) {
		return QStringLiteral("field %1: %2").arg(quoted(name), from_std(why));
	};

	field_type type;
	problem = kit::bus::check_field_type(typeName, &type);
	if (!problem.empty())
		return fail(problem);
	auto known = declared->find(name);
	if (known != declared->end() && known->second != type) {
		return fail("it is given as both " + std::string(kit::bus::field_type_name(known->second))
			+ " and " + typeName);
	}
	(*declared)[name] = type;

	QString mismatch = QStringLiteral("field %1 of type %2 holds a D-Bus value of type '%3'");
	mismatch = mismatch.arg(quoted(name), field.type, dbus_type_of(value));
	const char* key = name.c_str();
	int64 integer = 0;
	bool tooLarge = false;
	std::string text;
	status_t status = B_OK;
	switch (type) {
		case field_type::int8:
		case field_type::int16:
		case field_type::int32:
			if (!integer_of(value, &integer, &tooLarge, &text))
				return mismatch;
			problem = kit::bus::check_integer(type, integer, text, tooLarge);
			if (!problem.empty())
				return fail(problem);
			status = kit::bus::add_integer(message, key, type, integer);
			break;
		case field_type::float32: {
			double real;
			if (value.metaType().id() == QMetaType::Double)
				real = value.toDouble();
			else if (integer_of(value, &integer, &tooLarge, &text))
				real = tooLarge ? value.toDouble() : double(integer);
			else
				return mismatch;
			problem = kit::bus::check_float(real, QString::number(real).toStdString());
			if (!problem.empty())
				return fail(problem);
			status = message->AddFloat(key, float(real));
			break;
		}
		case field_type::boolean:
			if (value.metaType().id() != QMetaType::Bool)
				return mismatch;
			status = message->AddBool(key, value.toBool());
			break;
		case field_type::string:
		case field_type::ref:
			if (value.metaType().id() != QMetaType::QString)
				return mismatch;
			text = value.toString().toStdString();
			if (type == field_type::string) {
				problem = kit::bus::check_string(text);
				if (!problem.empty())
					return fail(problem);
				status = message->AddString(key, text);
			} else {
				problem = kit::bus::check_path(text);
				if (!problem.empty())
					return fail(problem);
				entry_ref ref = ref_for_path(text);
				status = message->AddRef(key, &ref);
			}
			break;
	}
	if (status != B_OK)
		return fail("it could not be added to the message");
	return QString();
}

// Text for the bus, which carries UTF-8 without NUL bytes only; false for other text,
// which would arrive changed.
bool wire_text(const std::string& text, QString* wire)
{
	*wire = QString::fromStdString(text);
	return text.find('\0') == std::string::npos && wire->toStdString() == text;
}

// One value of a message's field as it goes on the wire; "" or why it cannot travel.
std::string encode_value(const BMessage& message, const char* name, type_code code, int32 index,
	kit::bus::WireValue* field)
{
	field_type type;
	if (!kit::bus::field_type_of(code, &type)) {
		return "it has the type '" + kit::bus::message_code_text(code)
			+ "', which the bus does not carry";
	}
	field->type = QLatin1String(kit::bus::field_type_name(type));
	QVariant value;
	status_t status = B_ERROR;
	switch (type) {
		case field_type::int8:
		case field_type::int16:
		case field_type::int32: {
			// The bus has no signed byte: int8 goes as an int16.
			int64 integer = 0;
			status = kit::bus::find_integer(message, name, type, index, &integer);
			value = type == field_type::int32 ? QVariant::fromValue(qint32(integer))
											  : QVariant::fromValue(qint16(integer));
			break;
		}
		case field_type::float32: {
			float real = 0;
			status = message.FindFloat(name, index, &real);
			std::string problem = kit::bus::check_float(real, QString::number(real).toStdString());
			if (!problem.empty())
				return problem;
			value = QVariant::fromValue(double(real));
			break;
		}
		case field_type::boolean: {
			bool flag = false;
			status = message.FindBool(name, index, &flag);
			value = QVariant::fromValue(flag);
			break;
		}
		case field_type::string:
		case field_type::ref: {
			std::string text;
			if (type == field_type::string) {
				status = message.FindString(name, index, &text);
			} else {
				entry_ref ref;
				status = message.FindRef(name, index, &ref);
				text = ref.Path();
			}
			if (status != B_OK)
				break;
			std::string problem = type == field_type::string ? kit::bus::check_string(text)
															 : kit::bus::check_path(text);
			if (!problem.empty())
				return problem;
			QString wire;
			if (!wire_text(text, &wire))
				return "'" + text + "' is not UTF-8 text, which the bus cannot carry";
			value = QVariant::fromValue(wire);
			break;
		}
	}
	if (status != B_OK)
		return "its value could not be read";
	field->value = value;
	return "";
}

void register_wire_types()
{
	static bool registered = [] {
		qDBusRegisterMetaType<WireField>();
		return true;
	}();
	(void)registered;
}

} // namespace

namespace kit::bus {

QString DecodeMessage(const QDBusMessage& wire, int32 maxValues, BMessage* message)
{
	if (wire.signature() != QLatin1String(kMessageSignature)) {
		return QStringLiteral("the arguments are (%1), not (s what, a(ssv) fields)")
			.arg(wire.signature());
	}
	const QList<QVariant> arguments = wire.arguments();
	const std::string code = arguments.at(0).toString().toStdString();
	std::string problem = check_message_code(code);
	if (!problem.empty())
		return from_std(problem);
	message_code_from_text(code, &message->what);

	const QDBusArgument fields = arguments.at(1).value<QDBusArgument>();
	std::map<std::string, field_type> declared;
	int32 count = 0;
	QString error;
	fields.beginArray();
	while (error.isEmpty() && !fields.atEnd()) {
		if (++count > maxValues) {
			error = QStringLiteral("more than %1 field values in one message").arg(maxValues);
			break;
		}
		WireField field;
		fields >> field;
		error = add_field(message, field, &declared);
	}
	// Ending the array also frees what reading it took, whether or not all was read.
	fields.endArray();
	return error;
}

QString EncodeMessage(const BMessage& message, int32 maxValues, QList<QVariant>* arguments)
{
	const std::string code = message_code_text(message.what);
	if (!is_valid_message_code(code)) {
		return QStringLiteral("the message code 0x%1 is not four characters from ' ' to '~'")
			.arg(message.what, 8, 16, QLatin1Char('0'));
	}

	QList<WireValue> fields;
	const char* name = nullptr;
	type_code code_found = 0;
	int32 count = 0;
	for (int32 i = 0; message.GetInfo(B_ANY_TYPE, i, &name, &code_found, &count) == B_OK; i++) {
		std::string problem = check_field_name(name);
		QString wireName;
		if (problem.empty() && !wire_text(name, &wireName))
			problem = "the name is not UTF-8 text, which the bus cannot carry";
		if (!problem.empty())
			return QStringLiteral("a field name is wrong: %1").arg(from_std(problem));
		for (int32 index = 0; index < count; index++) {
			if (fields.size() >= maxValues)
				return QStringLiteral("more than %1 field values in one message").arg(maxValues);
			WireValue field;
			field.name = wireName;
			problem = encode_value(message, name, code_found, index, &field);
			if (!problem.empty())
				return QStringLiteral("field %1: %2").arg(quoted(name), from_std(problem));
			fields.append(field);
		}
	}

	arguments->append(from_std(code));
	arguments->append(WireFields(fields));
	return QString();
}

QVariant WireFields(const QList<WireValue>& values)
{
	register_wire_types();
	QDBusArgument wire;
	wire.beginArray(QMetaType::fromType<WireField>());
	for (const WireValue& value : values)
		wire << WireField{value.name, value.type, QDBusVariant(value.value)};
	wire.endArray();
	return QVariant::fromValue(wire);
}

} // namespace kit::bus
