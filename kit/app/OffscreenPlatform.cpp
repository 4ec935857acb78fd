#include "OffscreenPlatform.h"

#include <QApplication>

#include <cerrno>
#include <cstdlib>

#include "Errors.h"

namespace kit {
void InitSystemFonts();
}

namespace {

const char kOffscreenPlatform[] = "offscreen";

} // namespace

status_t use_offscreen_platform()
{
	if (QCoreApplication::instance() != nullptr) {
		return QGuiApplication::platformName() == QLatin1String(kOffscreenPlatform) ? B_OK
																					: B_NOT_ALLOWED;
	}
	// The one Qt application of the process is made here, on Qt's off-screen platform, so
	// that the kit's usual start (QtApplication.cpp) finds it made and never looks for a
	// display. The environment says so too, for any part of Qt that asks it.
	setenv("QT_QPA_PLATFORM", kOffscreenPlatform, 1);
	static int argc = 1;
	static char* argv[] = {program_invocation_short_name, nullptr};
	static QApplication* application = new QApplication(argc, argv);
	(void)application;
	kit::InitSystemFonts();
	return B_OK;
}
