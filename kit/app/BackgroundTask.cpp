#include "BackgroundTask.h"

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "BackgroundWork.h"
#include "QtApplication.h"

struct BBackgroundTask::Private {
	Work work;
	BMessenger target;
	BMessage done;
	std::unique_ptr<BMessage> progress;
	bigtime_t reportInterval = 0;
	std::atomic<int64> doneAmount{0};
	std::atomic<int64> total{0};
	// Written by the work's thread before it ends; read once it has been joined.
	status_t result = B_OK;
	std::thread thread;
	QTimer* timer = nullptr;
};

namespace kit {

namespace {

int milliseconds(bigtime_t microseconds)
{
	return int(std::clamp<bigtime_t>(microseconds / 1000, 0, INT32_MAX));
}

} // namespace

// The GUI thread's side of every task. A task's thread, once its work has returned, puts
// the task on the finished list and wakes the GUI thread through an eventfd that the event
// loop watches; the GUI thread then joins the thread and sends the done message. Between
// the threads pass only the finished list (under the lock), the progress (atomics) and the
// result (read once the thread is joined).
class TaskCourier : public QObject {
public:
	static TaskCourier* Get()
	{
		// Lives as long as the process, like the Qt application it belongs to.
		static TaskCourier* courier = new TaskCourier;
		return courier;
	}

	status_t Start(BBackgroundTask* task, bigtime_t firstReport)
	{
		BBackgroundTask::Private* p = task->fPrivate;
		if (p->progress) {
			p->timer = new QTimer(this);
			p->timer->setSingleShot(false);
			connect(p->timer, &QTimer::timeout, this, [task] { task->_Report(); });
			p->timer->start(milliseconds(firstReport));
		}
		try {
			p->thread = std::thread([this, task] { _Run(task); });
		} catch (const std::system_error&) {
			delete p->timer;
			p->timer = nullptr;
			return B_NO_MEMORY;
		}
		fRunning.push_back(task);
		return B_OK;
	}

	int32 CountRunning() const { return int32(fRunning.size()); }

	void WhenDone(std::function<void()> function)
	{
		if (fRunning.empty())
			function();
		else
			fWhenDone.push_back(std::move(function));
	}

	void FinishAll()
	{
		{
			std::unique_lock<std::mutex> lock(fLock);
			fFinishedChanged.wait(lock, [this] { return fFinished.size() >= fRunning.size(); });
		}
		_Collect();
	}

private:
	TaskCourier()
	{
		fWakeUp = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
		if (fWakeUp >= 0) {
			fNotifier = new QSocketNotifier(fWakeUp, QSocketNotifier::Read, this);
			connect(fNotifier, &QSocketNotifier::activated, this, [this] { _Collect(); });
		}
	}

	// On the task's own thread.
	void _Run(BBackgroundTask* task)
	{
		BBackgroundTask::Private* p = task->fPrivate;
		status_t result;
		try {
			result = p->work(task);
		} catch (const std::bad_alloc&) {
			result = B_NO_MEMORY;
		} catch (...) {
			result = B_ERROR;
		}
		// What the work holds (a copy of a picture, say) is let go here, off the GUI thread.
		p->work = nullptr;
		p->result = result;
		{
			std::lock_guard<std::mutex> lock(fLock);
			fFinished.push_back(task);
		}
		fFinishedChanged.notify_all();
		if (fWakeUp >= 0) {
			const uint64_t one = 1;
			ssize_t written;
			do {
				written = ::write(fWakeUp, &one, sizeof(one));
			} while (written < 0 && errno == EINTR);
		} else {
			// Without an eventfd the loop is woken the slow way, by a queued call.
			QMetaObject::invokeMethod(
				this, [this] { _Collect(); }, Qt::QueuedConnection);
		}
	}

	// On the GUI thread: joins the tasks whose work has returned and sends their done
	// messages, then tells those waiting for all work to be done.
	void _Collect()
	{
		if (fWakeUp >= 0) {
			uint64_t count;
			while (::read(fWakeUp, &count, sizeof(count)) > 0) {
			}
		}
		std::vector<BBackgroundTask*> finished;
		{
			std::lock_guard<std::mutex> lock(fLock);
			finished.swap(fFinished);
		}
		for (BBackgroundTask* task : finished) {
			BBackgroundTask::Private* p = task->fPrivate;
			p->thread.join();
			delete p->timer;
			p->timer = nullptr;
			fRunning.erase(std::remove(fRunning.begin(), fRunning.end(), task), fRunning.end());
			BMessage done(p->done);
			done.AddInt32("status", p->result);
			p->target.SendMessage(&done);
			delete task;
		}
		if (!finished.empty() && fRunning.empty()) {
			std::vector<std::function<void()>> waiting;
			waiting.swap(fWhenDone);
			for (auto& function : waiting)
				function();
		}
	}

	int fWakeUp = -1;
	QSocketNotifier* fNotifier = nullptr;
	std::mutex fLock;
	std::condition_variable fFinishedChanged;
	std::vector<BBackgroundTask*> fFinished; // under fLock
	std::vector<BBackgroundTask*> fRunning;  // GUI thread only
	std::vector<std::function<void()>> fWhenDone;
};

void WhenBackgroundWorkDone(std::function<void()> function)
{
	TaskCourier::Get()->WhenDone(std::move(function));
}

void FinishBackgroundWork()
{
	TaskCourier::Get()->FinishAll();
}

} // namespace kit

BBackgroundTask::BBackgroundTask() : fPrivate(new Private)
{
}

BBackgroundTask::~BBackgroundTask()
{
	delete fPrivate;
}

status_t BBackgroundTask::Start(Work work, const BMessenger& target, const BMessage& done,
	const BMessage* progress, bigtime_t firstReport, bigtime_t reportInterval)
{
	if (!work)
		return B_BAD_VALUE;
	kit::EnsureQtApplication();
	auto* task = new BBackgroundTask;
	task->fPrivate->work = std::move(work);
	task->fPrivate->target = target;
	task->fPrivate->done = done;
	if (progress != nullptr)
		task->fPrivate->progress = std::make_unique<BMessage>(*progress);
	task->fPrivate->reportInterval = reportInterval;
	status_t status = kit::TaskCourier::Get()->Start(task, firstReport);
	if (status != B_OK)
		delete task;
	return status;
}

int32 BBackgroundTask::CountRunning()
{
	return kit::TaskCourier::Get()->CountRunning();
}

void BBackgroundTask::SetProgress(int64 done, int64 total)
{
	fPrivate->total.store(total, std::memory_order_relaxed);
	fPrivate->doneAmount.store(done, std::memory_order_relaxed);
}

void BBackgroundTask::_Report()
{
	BMessage report(*fPrivate->progress);
	report.AddInt64("done", fPrivate->doneAmount.load(std::memory_order_relaxed));
	report.AddInt64("total", fPrivate->total.load(std::memory_order_relaxed));
	fPrivate->target.SendMessage(&report);
	// A report every few milliseconds at most: an interval of 0 would keep the loop busy.
	const int kShortestInterval = 10;
	fPrivate->timer->setInterval(
		std::max(kit::milliseconds(fPrivate->reportInterval), kShortestInterval));
}
