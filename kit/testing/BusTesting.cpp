#include "BusTesting.h"

#include <QDBusMessage>

#include "BusArguments.h"
#include "BusCall.h"
#include "BusProtocol.h"
#include "Message.h"

namespace kit::testing {

namespace {

QVariant variant_of(const BusValue& value)
{
	if (const uint8_t* byte = std::get_if<uint8_t>(&value))
		return QVariant::fromValue(uchar(*byte));
	if (const int16_t* shortInteger = std::get_if<int16_t>(&value))
		return QVariant::fromValue(short(*shortInteger));
	if (const uint16_t* unsignedShort = std::get_if<uint16_t>(&value))
		return QVariant::fromValue(ushort(*unsignedShort));
	if (const int32_t* integer32 = std::get_if<int32_t>(&value))
		return QVariant::fromValue(int(*integer32));
	if (const uint32_t* unsigned32 = std::get_if<uint32_t>(&value))
		return QVariant::fromValue(uint(*unsigned32));
	if (const BusStrings* strings = std::get_if<BusStrings>(&value)) {
		QStringList list;
		for (const std::string& text : *strings)
			list << QString::fromStdString(text);
		return QVariant::fromValue(list);
	}
	if (const int64_t* integer = std::get_if<int64_t>(&value))
		return QVariant::fromValue(qlonglong(*integer));
	if (const uint64_t* unsignedInteger = std::get_if<uint64_t>(&value))
		return QVariant::fromValue(qulonglong(*unsignedInteger));
	if (const double* real = std::get_if<double>(&value))
		return QVariant::fromValue(*real);
	if (const bool* flag = std::get_if<bool>(&value))
		return QVariant::fromValue(*flag);
	return QVariant::fromValue(QString::fromStdString(std::get<std::string>(value)));
}

} // namespace

status_t CallEndpoint(const std::string& busName, const char* method, const std::string& what,
	const std::vector<BusField>& fields, std::string* error, BMessage* reply)
{
	QList<kit::bus::WireValue> values;
	for (const BusField& field : fields) {
		values.append(kit::bus::WireValue{QString::fromStdString(field.name),
			QString::fromStdString(field.type), variant_of(field.value)});
	}
	QList<QVariant> arguments{QString::fromStdString(what), kit::bus::WireFields(values)};
	QDBusMessage answer;
	status_t status =
		kit::bus::CallEndpoint(busName, QLatin1String(method), arguments, &answer, error);
	if (status != B_OK || reply == nullptr || answer.arguments().isEmpty())
		return status;
	BMessage received;
	QString problem = kit::bus::DecodeMessage(answer, kit::bus::kMaxReplyValues, &received);
	if (!problem.isEmpty()) {
		*error = "the reply is malformed: " + problem.toStdString();
		return B_BAD_DATA;
	}
	*reply = received;
	return B_OK;
}

status_t CallEndpointWithText(
	const std::string& busName, const char* method, const std::string& text, std::string* error)
{
	QDBusMessage answer;
	return kit::bus::CallEndpoint(
		busName, QLatin1String(method), {QString::fromStdString(text)}, &answer, error);
}

} // namespace kit::testing
