#include "QtApplication.h"

#include <QApplication>

#include <cerrno>
#include <string>
#include <vector>

#include "BusProtocol.h"

namespace kit {

void InitSystemFonts();

namespace {

std::vector<std::string> split_elements(const std::string& id)
{
	std::vector<std::string> elements;
	size_t start = 0;
	for (;;) {
		size_t dot = id.find('.', start);
		elements.push_back(id.substr(start, dot == std::string::npos ? dot : dot - start));
		if (dot == std::string::npos)
			return elements;
		start = dot + 1;
	}
}

// What follows the vendor marker and the vendor in a reverse-DNS application id, joined as
// the signature joined it ("x_vnd.Vendor.some.name" gives "some-name"); an id with nothing
// after its vendor gives its last element.
std::string name_in_application_id(const std::string& id)
{
	std::vector<std::string> elements = split_elements(id);
	const size_t kVendorElements = 2;
	if (elements.size() <= kVendorElements)
		return elements.back();
	std::string name;
	for (size_t i = kVendorElements; i < elements.size(); i++) {
		if (!name.empty())
			name += '-';
		name += elements[i];
	}
	return name;
}

} // namespace

QApplication* EnsureQtApplication()
{
	if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
		return existing;

	// Qt reads its own options (-platform, -style, ...) from argv. The program's command
	// line holds file names only, so Qt gets a command line of its own, the name of the
	// executable alone, and never sees them.
	static int argc = 1;
	static char* argv[] = {program_invocation_short_name, nullptr};
	static QApplication* application = new QApplication(argc, argv);
	InitSystemFonts();
	return application;
}

void NameQtApplication(const char* signature)
{
	EnsureQtApplication();
	std::string id = bus::bus_name_for_signature(signature != nullptr ? signature : "");
	QApplication::setApplicationName(QString::fromStdString(name_in_application_id(id)));
	QApplication::setDesktopFileName(QString::fromStdString(id));
}

} // namespace kit
