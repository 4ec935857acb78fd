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

// A view keeps pixels only for the part of its frame that can be shown (inside its window
// and on the screen), as the platform does; places are given from the frame's top-left,
// (0, 0), whatever the view's scrolling.

// Runs the view's pending updates (view colour fill and Draw) now.
void UpdateView(BView* view);
// The part of the frame that the view keeps pixels for (invalid when it keeps none),
// after its pending updates.
BRect KeptArea(BView* view);
// A pixel that the view keeps, at (x, y) of its frame, after its pending updates; alpha 0
// where the view keeps no pixel.
rgb_color ViewPixel(BView* view, int32 x, int32 y);
// A copy of the pixels the view keeps as a B_RGB32 bitmap whose Bounds() are KeptArea(),
// or null when it keeps none.
BBitmap* SnapshotView(BView* view);
// What the view shows of area (in the view's own coordinates, as Draw() gets them) when
// that comes into sight: a scratch image filled as an update fills it, drawn by the view's
// Draw(area). Nothing the view keeps changes, but Draw() leaves its drawing state as it
// always does. The bitmap's Bounds() are area, in whole pixels.
BBitmap* RenderView(BView* view, BRect area);
// Saves the pixels the view keeps as a PNG file, to look at when a test fails.
bool SaveViewImage(BView* view, const std::string& path);

// Turns the mouse wheel with the pointer over the middle of the view, as the platform
// reports it to the view's widget: notchesY positive towards the user (down), notchesX
// positive to the right; a fraction of a notch is a fine turn, such as a touchpad's.
void TurnWheel(BView* view, float notchesX, float notchesY, bool shift = false);

// Closes the window as the user would with its close button.
void CloseWindow(BWindow* window);
// How many of the kit's modal dialogs (alerts, page and job setup) are open; may be asked
// from any thread.
int CountModalDialogs();
// The window's size as the platform has it (content width and height in pixels).
void PlatformWindowSize(BWindow* window, int32* width, int32* height);

// The names the platform knows the application by: its name (which windowing systems and
// print jobs show) and the name of its desktop file.
void PlatformApplicationNames(std::string* name, std::string* desktopFileName);

} // namespace kit::testing
