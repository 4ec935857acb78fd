#include "QtApplication.h"

#include <QApplication>

namespace kit {

void InitSystemFonts();

QApplication* EnsureQtApplication()
{
	if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
		return existing;

	// Qt reads its own options (-platform, -style, ...) from argv. The program's command
	// line holds file names only, so Qt gets a command line of its own and never sees them.
	static int argc = 1;
	static char name[] = "dorva";
	static char* argv[] = {name, nullptr};
	QApplication::setApplicationName(QStringLiteral("dorva"));
	QApplication::setDesktopFileName(QStringLiteral("x_vnd.Vesk.dorva"));
	static QApplication* application = new QApplication(argc, argv);
	InitSystemFonts();
	return application;
}

} // namespace kit
