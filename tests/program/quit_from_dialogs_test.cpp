// A quit request while one of the program's modal dialogs is open, for real: the dialog is
// shown under the off-screen platform, SIGTERM comes from outside the loop, and the program
// must close the dialog and end within a second. While the dialog waits, the processor is
// idle.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "AppDefs.h"
#include "CanvasProbe.h"
#include "KitTesting.h"
#include "PrintTesting.h"
#include "ProgramHarness.h"
#include "TempDirectory.h"
#include "canvas_codes.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpu_seconds()
{
	struct rusage usage = {};
	getrusage(RUSAGE_SELF, &usage);
	auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
	return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// What happened: whether the dialog came up, the processor time the process used during
// half a second of the dialog waiting, and how long the loop took to end after SIGTERM.
struct QuitOutcome {
	bool shown = false;
	double busySeconds = -1;
	double secondsToQuit = -1;
};

// Posts what opens the dialog, runs the application's loop, and from another thread sends
// the process SIGTERM once the dialog is up.
QuitOutcome quit_with_dialog_open(ProgramHarness& program, const std::function<void()>& open)
{
	struct sigaction defaults = {}, former = {};
	defaults.sa_handler = SIG_DFL;
	sigaction(SIGTERM, &defaults, &former);
	QuitOutcome outcome;
	std::atomic<bool> shown{false};
	std::atomic<double> busy{-1};
	Clock::time_point signalled;
	std::thread watcher([&] {
		for (int i = 0; i < 1000 && kit::testing::CountModalDialogs() == 0; i++)
			usleep(10000);
		shown = kit::testing::CountModalDialogs() > 0;
		double before = cpu_seconds();
		usleep(500000);
		busy = cpu_seconds() - before;
		signalled = Clock::now();
		kill(getpid(), SIGTERM);
	});
	open();
	alarm(60); // a quit that never comes fails the test instead of hanging it
	program.App()->Run();
	alarm(0);
	Clock::time_point ended = Clock::now();
	watcher.join();
	sigaction(SIGTERM, &former, nullptr);
	outcome.shown = shown;
	outcome.busySeconds = busy;
	outcome.secondsToQuit = std::chrono::duration<double>(ended - signalled).count();
	return outcome;
}

void expect_quit_at_once(const ProgramHarness& program, const QuitOutcome& outcome)
{
	EXPECT_TRUE(outcome.shown);
	EXPECT_LT(outcome.busySeconds, 0.1) << "the dialog kept the processor busy";
	EXPECT_LT(outcome.secondsToQuit, 1.0);
	EXPECT_EQ(kit::testing::CountModalDialogs(), 0);
	EXPECT_EQ(program.App()->CountWindows(), 0);
}

} // namespace

TEST(QuitFromDialogs, SigtermWithTheAboutBoxOpenClosesItAndQuits)
{
	kit::testing::SetAlertResponder(nullptr);
	ProgramHarness program;
	QuitOutcome outcome = quit_with_dialog_open(
		program, [&] { BMessenger(program.App()).SendMessage(B_ABOUT_REQUESTED); });
	expect_quit_at_once(program, outcome);
}

// Printing's dialogs run inside the main window's handler: the page setup (which the
// platform skips where it has no printer of its own, as here) and the print dialog. The
// one open is closed, none after it is shown once the quit is under way, nothing prints.
TEST(QuitFromDialogs, SigtermWithAPrintDialogOpenClosesItAndQuits)
{
	kit::testing::ClearPrintAnswers();
	ProgramHarness program;
	show_picture(program.Canvas(), make_picture(120, 90, 0, 0, 255));
	QuitOutcome outcome = quit_with_dialog_open(
		program, [&] { BMessenger(program.Canvas()).SendMessage(CMD_FILE_PRINT); });
	expect_quit_at_once(program, outcome);
}
