#include "DestinationDevice.h"

#include <algorithm>

namespace kit {

DestinationDevice::DestinationDevice(BPositionIO* destination)
	: fDestination(destination), fStart(destination->Position()), fEnd(0), fFailure(B_OK)
{
	if (fStart < 0) {
		fFailure = status_t(fStart);
		fStart = 0;
	}
	open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 DestinationDevice::readData(char*, qint64)
{
	return -1;
}

qint64 DestinationDevice::writeData(const char* data, qint64 size)
{
	if (fFailure != B_OK)
		return -1;
	const qint64 at = pos();
	for (qint64 done = 0; done < size;) {
		ssize_t written =
			fDestination->WriteAt(fStart + at + done, data + done, size_t(size - done));
		if (written <= 0) {
			fFailure = written < 0 ? status_t(written) : B_IO_ERROR;
			return -1;
		}
		done += written;
	}
	fEnd = std::max(fEnd, at + size);
	return size;
}

status_t DestinationDevice::Finish()
{
	off_t end = fDestination->Seek(fStart + fEnd, SEEK_SET);
	if (fFailure == B_OK && end < 0)
		fFailure = status_t(end);
	return fFailure;
}

} // namespace kit
