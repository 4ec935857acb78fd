// The one Qt application object of the process. The kit creates it on first need and keeps
// it until the process exits, so that BApplication objects (and tests) can come and go.
#pragma once

class QApplication;

namespace kit {

QApplication* EnsureQtApplication();

} // namespace kit
