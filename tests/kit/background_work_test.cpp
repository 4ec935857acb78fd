// Long work off the GUI thread (BBackgroundTask): it reports to a handler through its
// looper while the loopers go on, and the application lets it finish before it quits,
// whether "Quit" or a signal asked for that.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <condition_variable>
#include <initializer_list>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "AppDefs.h"
#include "Application.h"
#include "BackgroundTask.h"
#include "KitTesting.h"
#include "StatusBar.h"
#include "Window.h"

namespace {

const uint32 kDone = kit_code("done");
const uint32 kProgress = kit_code("prog");
const uint32 kPing = kit_code("ping");

// Holds the work until the test opens it.
class Gate {
public:
	void Open()
	{
		{
			std::lock_guard<std::mutex> lock(fLock);
			fOpen = true;
		}
		fChanged.notify_all();
	}
	void Wait()
	{
		std::unique_lock<std::mutex> lock(fLock);
		fChanged.wait(lock, [this] { return fOpen; });
	}

private:
	std::mutex fLock;
	std::condition_variable fChanged;
	bool fOpen = false;
};

// A window that writes down what reaches it and when it is asked to quit.
class Witness : public BWindow {
public:
	explicit Witness(std::vector<std::string>* log)
		: BWindow(BRect(10, 10, 109, 59), "witness", B_TITLED_WINDOW, 0), fLog(log)
	{
	}
	void MessageReceived(BMessage* message) override
	{
		switch (message->what) {
			case kDone: {
				int32 status = 0;
				message->FindInt32("status", &status);
				fLog->push_back("done " + std::to_string(status));
				break;
			}
			case kProgress: {
				int64 done = -1, total = -1;
				message->FindInt64("done", &done);
				message->FindInt64("total", &total);
				fLog->push_back("progress " + std::to_string(done) + "/" + std::to_string(total));
				break;
			}
			case kPing:
				fLog->push_back("ping");
				break;
			default:
				BWindow::MessageReceived(message);
				break;
		}
	}
	bool QuitRequested() override
	{
		fLog->push_back("quit requested");
		return true;
	}

private:
	std::vector<std::string>* fLog;
};

bool contains(const std::vector<std::string>& log, const std::string& entry)
{
	return std::find(log.begin(), log.end(), entry) != log.end();
}

TEST(BackgroundTask, RunsOffTheGuiThreadWhileLoopersGoOnAndReportsToItsHandler)
{
	BApplication application("application/x-vnd.Test-background");
	std::vector<std::string> log;
	auto* window = new Witness(&log);
	Gate gate;
	std::thread::id workThread;
	const std::thread::id guiThread = std::this_thread::get_id();

	BMessage progress(kProgress);
	ASSERT_EQ(BBackgroundTask::Start(
				  [&](BBackgroundTask* task) {
					  workThread = std::this_thread::get_id();
					  task->SetProgress(3, 8);
					  gate.Wait();
					  return status_t(B_FILE_EXISTS);
				  },
				  BMessenger(nullptr, window), BMessage(kDone), &progress, 0, 10000),
		B_OK);
	EXPECT_EQ(BBackgroundTask::CountRunning(), 1);

	// The window answers while the work is held, and hears how far it has come.
	BMessenger(nullptr, window).SendMessage(kPing);
	kit::testing::RunLoopersUntilIdle();
	EXPECT_TRUE(contains(log, "ping"));
	for (int i = 0; i < 500 && !contains(log, "progress 3/8"); i++) {
		usleep(2000);
		kit::testing::RunLoopersUntilIdle();
	}
	EXPECT_TRUE(contains(log, "progress 3/8"));
	EXPECT_FALSE(contains(log, "done " + std::to_string(B_FILE_EXISTS)));

	gate.Open();
	kit::testing::RunUntilIdle();
	EXPECT_EQ(log.back(), "done " + std::to_string(B_FILE_EXISTS));
	EXPECT_EQ(BBackgroundTask::CountRunning(), 0);
	EXPECT_NE(workThread, guiThread);
	window->Quit();
	kit::testing::RunUntilIdle();
}

TEST(BackgroundTask, QuickWorkSendsNoProgressAndAGoneTargetMissesTheEnd)
{
	BApplication application("application/x-vnd.Test-background");
	std::vector<std::string> log;
	auto* window = new Witness(&log);
	BMessage progress(kProgress);
	ASSERT_EQ(BBackgroundTask::Start([](BBackgroundTask*) { return status_t(B_OK); },
				  BMessenger(nullptr, window), BMessage(kDone), &progress, 60 * 1000000, 10000),
		B_OK);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(log, std::vector<std::string>{"done 0"});

	// Work whose window has gone meanwhile still runs to its end.
	Gate gate;
	bool ran = false;
	ASSERT_EQ(BBackgroundTask::Start(
				  [&](BBackgroundTask*) {
					  gate.Wait();
					  ran = true;
					  return status_t(B_OK);
				  },
				  BMessenger(nullptr, window), BMessage(kDone)),
		B_OK);
	window->Quit();
	kit::testing::RunLoopersUntilIdle();
	gate.Open();
	kit::testing::RunUntilIdle();
	EXPECT_TRUE(ran);
	EXPECT_EQ(BBackgroundTask::CountRunning(), 0);
	EXPECT_EQ(BBackgroundTask::Start(nullptr, BMessenger(), BMessage(kDone)), B_BAD_VALUE);
}

TEST(BackgroundTask, QuittingWaitsForTheWorkThenAsksTheWindows)
{
	BApplication application("application/x-vnd.Test-background");
	std::vector<std::string> log;
	auto* window = new Witness(&log);
	Gate gate;
	ASSERT_EQ(BBackgroundTask::Start(
				  [&](BBackgroundTask*) {
					  gate.Wait();
					  return status_t(B_OK);
				  },
				  BMessenger(nullptr, window), BMessage(kDone)),
		B_OK);

	be_app_messenger().SendMessage(B_QUIT_REQUESTED);
	kit::testing::RunLoopersUntilIdle();
	// Asking again changes nothing: the first request waits for the work.
	be_app_messenger().SendMessage(B_QUIT_REQUESTED);
	kit::testing::RunLoopersUntilIdle();
	EXPECT_TRUE(log.empty());
	EXPECT_EQ(application.CountWindows(), 1);

	gate.Open();
	kit::testing::RunUntilIdle();
	EXPECT_EQ(log, (std::vector<std::string>{"done 0", "quit requested"}));
	EXPECT_EQ(application.CountWindows(), 0);
}

TEST(BackgroundTask, TheApplicationWaitsForTheWorkWhenItIsDestroyed)
{
	bool finished = false;
	{
		BApplication application("application/x-vnd.Test-background");
		ASSERT_EQ(BBackgroundTask::Start(
					  [&](BBackgroundTask*) {
						  usleep(100000);
						  finished = true;
						  return status_t(B_OK);
					  },
					  be_app_messenger(), BMessage(kDone)),
			B_OK);
	}
	EXPECT_TRUE(finished);
	EXPECT_EQ(BBackgroundTask::CountRunning(), 0);
}

// An application that sends itself signals, in order, once its loop runs, with a window
// that logs what reaches it.
class SignalledApplication : public BApplication {
public:
	explicit SignalledApplication(std::initializer_list<int> signals)
		: BApplication("application/x-vnd.Test-signals"), fSignals(signals)
	{
		fWindow = new Witness(&fLog);
		fWindow->Show();
	}
	void ReadyToRun() override
	{
		for (int signal : fSignals)
			::raise(signal);
	}
	// Runs the loop. Should a signal end the process instead, the test fails at once;
	// should nothing happen, the alarm ends it.
	const std::vector<std::string>& RunAndLog()
	{
		alarm(60);
		Run();
		alarm(0);
		return fLog;
	}
	Witness* Window() const { return fWindow; }

private:
	std::vector<int> fSignals;
	std::vector<std::string> fLog;
	Witness* fWindow;
};

// Sets the signals' handling to the default for a test, and back to what it was after it:
// a test run under nohup, or put in the background by a script, starts with SIGHUP or
// SIGINT ignored, which the application rightly leaves ignored.
class DefaultSignals {
public:
	DefaultSignals()
	{
		for (size_t i = 0; i < std::size(kSignals); i++)
			fFormer[i] = ::signal(kSignals[i], SIG_DFL);
	}
	~DefaultSignals()
	{
		for (size_t i = 0; i < std::size(kSignals); i++)
			::signal(kSignals[i], fFormer[i]);
	}

private:
	static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
	sighandler_t fFormer[std::size(kSignals)];
};

sighandler_t handling_of(int signal)
{
	struct sigaction now = {};
	sigaction(signal, nullptr, &now);
	return now.sa_handler;
}

TEST(QuitSignals, TermIntAndHupTakeTheWayOfQuitWhileTheLoopRuns)
{
	DefaultSignals defaults;
	for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
		SCOPED_TRACE(signal);
		SignalledApplication application({signal});
		EXPECT_EQ(application.RunAndLog(), std::vector<std::string>{"quit requested"});
		EXPECT_EQ(application.CountWindows(), 0);
		// Once the loop has ended, the signal's handling is what it was.
		EXPECT_EQ(handling_of(signal), SIG_DFL);
	}
}

TEST(QuitSignals, ASignalTheProgramStartedIgnoringStaysIgnored)
{
	DefaultSignals defaults;
	::signal(SIGHUP, SIG_IGN);
	// SIGHUP, ignored, passes unseen; the SIGTERM after it quits.
	SignalledApplication application({SIGHUP, SIGTERM});
	EXPECT_EQ(application.RunAndLog(), std::vector<std::string>{"quit requested"});
	EXPECT_EQ(handling_of(SIGHUP), SIG_IGN);
}

TEST(QuitSignals, ASignalDuringBackgroundWorkQuitsOnceTheWorkIsDone)
{
	DefaultSignals defaults;
	SignalledApplication application({SIGTERM});
	bool finished = false;
	ASSERT_EQ(BBackgroundTask::Start(
				  [&](BBackgroundTask*) {
					  usleep(300000);
					  finished = true;
					  return status_t(B_OK);
				  },
				  BMessenger(nullptr, application.Window()), BMessage(kDone)),
		B_OK);
	EXPECT_EQ(application.RunAndLog(), (std::vector<std::string>{"done 0", "quit requested"}));
	EXPECT_TRUE(finished);
}

TEST(StatusBar, KeepsItsValueWithinItsMaximumAndTakesMessages)
{
	BApplication application("application/x-vnd.Test-status");
	auto* window = new BWindow(BRect(20, 20, 219, 69), "status", B_TITLED_WINDOW, 0);
	auto* bar = new BStatusBar(BRect(0, 0, 199, 49), "bar", "Writing ", " left");
	window->AddChild(bar);
	window->Show();

	EXPECT_STREQ(bar->Label(), "Writing ");
	EXPECT_STREQ(bar->TrailingLabel(), " left");
	EXPECT_EQ(bar->MaxValue(), 100);
	bar->Update(30, "photo.png", "70%");
	bar->Update(25);
	EXPECT_EQ(bar->CurrentValue(), 55);
	EXPECT_STREQ(bar->Text(), "photo.png");
	EXPECT_STREQ(bar->TrailingText(), "70%");
	bar->Update(1000);
	EXPECT_EQ(bar->CurrentValue(), 100);
	bar->SetMaxValue(40);
	EXPECT_EQ(bar->CurrentValue(), 40);
	bar->SetTo(-5);
	EXPECT_EQ(bar->CurrentValue(), 0);

	// Driven by messages from anywhere, as the platform's status bar is.
	BMessage update(B_UPDATE_STATUS_BAR);
	update.AddFloat("delta", 10);
	update.AddString("trailing_text", "25%");
	BMessenger(bar).SendMessage(&update);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(bar->CurrentValue(), 10);
	EXPECT_STREQ(bar->TrailingText(), "25%");

	// Drawn: the bar is filled from the left up to the value's share of its width.
	bar->SetMaxValue(100);
	bar->SetTo(50);
	kit::testing::UpdateView(bar);
	const int32 barRow = 49 - 8; // inside the 16-pixel bar along the bottom
	rgb_color filled = kit::testing::ViewPixel(bar, 20, barRow);
	rgb_color empty = kit::testing::ViewPixel(bar, 180, barRow);
	EXPECT_EQ(filled.red, bar->BarColor().red);
	EXPECT_EQ(filled.blue, bar->BarColor().blue);
	EXPECT_EQ(empty.red, 255);
	EXPECT_EQ(empty.blue, 255);

	BMessage reset(B_RESET_STATUS_BAR);
	reset.AddString("label", "Done");
	BMessenger(bar).SendMessage(&reset);
	kit::testing::RunUntilIdle();
	EXPECT_EQ(bar->CurrentValue(), 0);
	EXPECT_STREQ(bar->Label(), "Done");
	EXPECT_STREQ(bar->Text(), "");
	EXPECT_STREQ(bar->TrailingText(), "");
	window->Quit();
	kit::testing::RunUntilIdle();
}

} // namespace
