#include "QtApplication.h"

#include <QApplication>

#include <cerrno>
#include <string>

#include "BusCall.h"
#include "BusProtocol.h"

namespace kit {

void InitSystemFonts();

QApplication* EnsureQtApplication()
{
	if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
		return existing;

	// Qt reads its own options (-platform, -style, ...) from argv. The program's command
	// line holds file names only, so Qt gets a command line of its own, the name of the
	// executable alone, and never sees them.
	static int argc = 1;
	static char* argv[] = {program_invocation_short_name, nullptr};
	// Menu bars stay in their windows (BMenuBar): no menu bar is offered to the desktop's
	// global menu, so Qt need not ask the session bus for one while a window is built.
	QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
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
