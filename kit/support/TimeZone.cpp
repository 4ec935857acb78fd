#include "TimeZone.h"

#include <QDateTime>
#include <QTimeZone>

struct BTimeZone::Data {
	QTimeZone zone;
};

BTimeZone::BTimeZone(const char* zoneID) : fData(new Data{QTimeZone(QByteArray(zoneID))})
{
}

BTimeZone::~BTimeZone() = default;

status_t BTimeZone::InitCheck() const
{
	return fData->zone.isValid() ? B_OK : B_BAD_VALUE;
}

int32 BTimeZone::StandardOffsetAt(int64 utcSeconds) const
{
	if (!fData->zone.isValid())
		return 0;
	return fData->zone.standardTimeOffset(QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC));
}
