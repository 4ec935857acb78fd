// How a BMessage travels on the session bus: as the arguments (s what, a(ssv) fields) that
// BusProtocol.h describes. Decoding checks everything a sender can get wrong, with the
// protocol's checks; encoding refuses what cannot travel. The endpoint decodes calls and
// encodes replies, the remote messenger the other way round, with the same two functions.
#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include "SupportDefs.h"

class BMessage;
class QDBusMessage;

namespace kit::bus {

// Reads a call's or a reply's arguments into *message, at most maxValues field values.
// Returns "" or what is wrong; *message is then incomplete and must not be used.
QString DecodeMessage(const QDBusMessage& wire, int32 maxValues, BMessage* message);

// One field value as it goes on the wire: (name, type, value).
struct WireValue {
	QString name;
	QString type;
	QVariant value;
};
// The a(ssv) argument that carries these values, just as they are.
QVariant WireFields(const QList<WireValue>& values);

// Appends (s what, a(ssv) fields) for message to *arguments, at most maxValues field
// values. Returns "" or why the message cannot travel (then *arguments is unchanged).
QString EncodeMessage(const BMessage& message, int32 maxValues, QList<QVariant>* arguments);

} // namespace kit::bus
