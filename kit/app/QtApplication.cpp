#include "QtApplication.h"

#include <QApplication>
#include <QSettings>

#include <cerrno>
#include <mutex>
#include <string>

#include "BusCall.h"
#include "BusProtocol.h"
#include "DisplayCheck.h"

namespace kit {

void InitSystemFonts();

QApplication* EnsureQtApplicationWithoutFonts()
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
	// Menu bars stay in their windows (BMenuBar): no menu bar is offered to the desktop's
	// global menu, so Qt need not ask the session bus for one while a window is built.
	QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
	// Programs on the kit keep nothing between runs, and Qt keeps nothing for them: what its
	// widgets would remember (the file dialog's last folder and history) is neither read nor
	// written, as their settings live under /dev/null, where no file can ever be made.
	for (QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope}) {
		QSettings::setPath(QSettings::NativeFormat, scope, QStringLiteral("/dev/null"));
		QSettings::setPath(QSettings::IniFormat, scope, QStringLiteral("/dev/null"));
	}
	static QApplication* application = new QApplication(argc, argv);
	return application;
}

QApplication* EnsureQtApplication()
{
	QApplication* application = EnsureQtApplicationWithoutFonts();
	static std::once_flag fonts;
	std::call_once(fonts, InitSystemFonts);
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
