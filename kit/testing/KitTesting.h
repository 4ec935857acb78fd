// What tests use to drive the kit without a person: running the loops until nothing is
// left to do, answering dialogs, and reading what is on screen. The program never uses it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "GraphicsDefs.h"
#include "InterfaceDefs.h"

class BAlert;
class BHandler;
class BMessage;
class BView;
class BWindow;
class BBitmap;

namespace kit::testing {

// Runs the event loop (every looper, every Qt event) until nothing more happens: every
// background task (BackgroundTask.h) has ended too, and what it reported has been handled.
void RunUntilIdle();
// The same, but without waiting for background tasks that are still running: for a test
// that looks at the program while such work goes on.
void RunLoopersUntilIdle();

// Sees every message just before a looper dispatches it to a handler. An empty function
// removes the observer.
using DispatchObserver = std::function<void(BHandler* handler, const BMessage& message)>;
void SetDispatchObserver(DispatchObserver observer);

// Answers each BAlert::Go() instead of showing the dialog: the function gets the alert and
// returns the index of the button to press. It may run the loops itself while "the alert
// is up". An empty function restores real dialogs.
using AlertResponder = std::function<int32(BAlert* alert)>;
void SetAlertResponder(AlertResponder responder);

// Makes replies to message go to the function instead of a handler, as the sender of a
// drag or a test double would see them.
using ReplyRecorder = std::function<void(const BMessage& reply, BHandler* replyTo)>;
void RecordReplies(BMessage& message, ReplyRecorder recorder);

// Runs the view's pending updates (view colour fill and Draw) now.
void UpdateView(BView* view);
// A pixel of the view's buffer, at (x, y) in the view's visible area (0, 0 is its top-left).
rgb_color ViewPixel(BView* view, int32 x, int32 y);
// A copy of the view's buffer as a B_RGB32 bitmap, or null when the view has none.
BBitmap* SnapshotView(BView* view);
// Saves the view's buffer as a PNG file, to look at when a test fails.
bool SaveViewImage(BView* view, const std::string& path);

// Turns the mouse wheel with the pointer over the middle of the view, as the platform
// reports it to the view's widget: notchesY positive towards the user (down), notchesX
// positive to the right; a fraction of a notch is a fine turn, such as a touchpad's.
void TurnWheel(BView* view, float notchesX, float notchesY, bool shift = false);

// Closes the window as the user would with its close button.
void CloseWindow(BWindow* window);
// The window's size as the platform has it (content width and height in pixels).
void PlatformWindowSize(BWindow* window, int32* width, int32* height);

// The names the platform knows the application by: its name (which windowing systems and
// print jobs show) and the name of its desktop file.
void PlatformApplicationNames(std::string* name, std::string* desktopFileName);

} // namespace kit::testing
