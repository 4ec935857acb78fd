// The Qt side of a looper: a queued event per waiting message wakes it on the GUI thread.
#pragma once

#include <QEvent>
#include <QObject>

class BLooper;

namespace kit {

class LooperPump : public QObject {
public:
	explicit LooperPump(BLooper* looper) : fLooper(looper) {}

	static QEvent::Type DispatchEventType();

protected:
	void customEvent(QEvent* event) override;

private:
	BLooper* fLooper;
};

} // namespace kit
