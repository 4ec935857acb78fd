#include "QtApplication.h"

#include <QApplication>

#include <cerrno>
#include <string>

#include "BusCall.h"
#include "BusProtocol.h"
#include "DisplayCheck.h"

namespace kit {

void InitSystemFonts();

QApplication* EnsureQtApplication()
{
	if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
		return existing;

	// Qt reads its own options (-platform, -style, ...) from argv. The program's command
	// line holds file names only, so Qt gets a command line of its own, the name of the
	// executable alone, and never sees them; "-platform" is added when the kit had to choose
	// the platform that reaches a display. Without a display, the process ends here.
	static std::string platform = PlatformForDisplayOrExit();
	static char platformOption[] = "-platform";
	static char* argv[] = {program_invocation_short_name, platformOption, platform.data(), nullptr};
	static int argc = platform.empty() ? 1 : 3;
	static QApplication* application = new QApplication(argc, argv);
	InitSystemFonts();
	return application;
}

void NameQtApplication(const char* signature)
{
	EnsureQtApplication();
	std::string id = bus::bus_name_for_signature(signature != nullptr ? signature : "");
	QApplication::setApplicationName(QString::fromStdString(bus::ProgramName(id)));
	QApplication::setDesktopFileName(QString::fromStdString(id));
}

} // namespace kit
