// The kit's modal dialogs (alerts, page and job setup) and the quit requests that close
// them.
//
// A dialog runs its own event loop inside the handler that opened it, so the looper of
// that handler waits until it is closed. A quit request (a signal, another program's
// message, the main window closing) must not wait behind it, nor end the application's
// loop under it: when B_QUIT_REQUESTED reaches the application, every modal dialog open is
// rejected as if its user had cancelled it, and none opens again until the quit sequence
// asks the windows. The quit sequence itself runs once the last dialog has returned.
#pragma once

#include <functional>

class QDialog;

namespace kit {

// Runs the dialog's own loop until it closes and returns its result; QDialog::Rejected at
// once, the dialog never shown, while a quit is under way.
int RunModal(QDialog* dialog);

// A quit request has reached the application: every modal dialog is rejected.
void QuitRequestArrived();
// The quit sequence asks the windows now (or no quit is under way): dialogs open again.
void QuitRequestAnswered();

// How many modal dialogs are open now.
int CountModalDialogs();
// Calls done once no modal dialog is open any more (at once when none is).
void WhenModalDialogsClosed(std::function<void()> done);

} // namespace kit
