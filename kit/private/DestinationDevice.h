// A write-only Qt device over a BPositionIO, for the image plug-ins and the PDF writer:
// what they write goes straight into the destination, from its position at the start on,
// never held whole in memory. The first failed write is kept with the destination's own
// status (a full disk says so), and every later write fails at once.
#pragma once

#include <QIODevice>

#include "DataIO.h"

namespace kit {

class DestinationDevice : public QIODevice {
public:
	explicit DestinationDevice(BPositionIO* destination);

	bool isSequential() const override { return false; }
	qint64 size() const override { return fEnd; }

	// B_OK, or the status of the first write that failed.
	status_t Failure() const { return fFailure; }
	// Leaves the destination standing past all that was written; the failure, if any.
	status_t Finish();

protected:
	qint64 readData(char* data, qint64 size) override;
	qint64 writeData(const char* data, qint64 size) override;

private:
	BPositionIO* fDestination;
	off_t fStart;
	qint64 fEnd;
	status_t fFailure;
};

} // namespace kit
