#include "DisplayCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace kit {

namespace {

// Qt's Wayland platform plug-ins come together in one package; this one provides "wayland".
const char kWaylandPlugin[] = "platforms/libqwayland-generic.so";
// The socket a Wayland client library connects to when WAYLAND_DISPLAY is not set.
const char kDefaultWaylandDisplay[] = "wayland-0";

std::string environment(const char* name)
{
	const char* value = std::getenv(name);
	return value != nullptr ? value : "";
}

// What one platform found: whether it opens a display, and if not, why, in a few words.
struct Attempt {
	bool opens = false;
	std::string why;
};

// The X display of DISPLAY, reached as Qt's xcb plug-in reaches it: a connection that the
// server accepts, authorization included.
Attempt try_x_display()
{
	Attempt attempt;
	const std::string display = environment("DISPLAY");
	if (display.empty()) {
		attempt.why = "DISPLAY is not set";
		return attempt;
	}
	xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
	attempt.opens = xcb_connection_has_error(connection) == 0;
	xcb_disconnect(connection);
	if (!attempt.opens)
		attempt.why = "DISPLAY=" + display + " cannot be opened";
	return attempt;
}

bool wayland_plugin_installed()
{
	std::vector<QString> folders = {QLibraryInfo::path(QLibraryInfo::PluginsPath)};
	for (const QString& folder : qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':')))
		folders.push_back(folder);
	for (const QString& folder : folders) {
		if (!folder.isEmpty()
			&& QFileInfo::exists(QDir(folder).filePath(QLatin1String(kWaylandPlugin))))
			return true;
	}
	return false;
}

// Whether something accepts connections on the Unix socket at path.
bool socket_answers(const std::string& path)
{
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	if (path.size() >= sizeof(address.sun_path))
		return false;
	path.copy(address.sun_path, path.size());
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	if (fd < 0)
		return false;
	int result;
	do
		result = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
	while (result != 0 && errno == EINTR);
	close(fd);
	return result == 0;
}

// The Wayland compositor, found as the Wayland client library finds it: a connection handed
// down in WAYLAND_SOCKET, or the socket that WAYLAND_DISPLAY names (wayland-0 when it is not
// set), in XDG_RUNTIME_DIR unless the name is a path. Qt needs its Wayland plug-in too.
Attempt try_wayland_display()
{
	Attempt attempt;
	const std::string name = environment("WAYLAND_DISPLAY");
	const std::string shown = name.empty()
		? std::string("WAYLAND_DISPLAY is not set and ") + kDefaultWaylandDisplay
		: "WAYLAND_DISPLAY=" + name;
	if (!environment("WAYLAND_SOCKET").empty()) {
		// A connection the parent made: it cannot be tried without being used up.
		attempt.opens = true;
	} else {
		const std::string socketName = name.empty() ? kDefaultWaylandDisplay : name;
		const std::string runtime = environment("XDG_RUNTIME_DIR");
		if (socketName.front() != '/' && runtime.empty()) {
			attempt.why = shown + " cannot be opened without XDG_RUNTIME_DIR";
			return attempt;
		}
		const std::string path =
			socketName.front() == '/' ? socketName : runtime + "/" + socketName;
		if (!socket_answers(path)) {
			attempt.why = shown + " has no compositor at " + path;
			return attempt;
		}
		attempt.opens = true;
	}
	if (!wayland_plugin_installed()) {
		attempt.opens = false;
		attempt.why = shown + " has a compositor, but Qt's Wayland platform is not installed";
	}
	return attempt;
}

[[noreturn]] void exit_without_display(const std::string& tried)
{
	std::fprintf(
		stderr, "%s: no display can be opened: %s\n", program_invocation_short_name, tried.c_str());
	std::fflush(stderr);
	std::exit(1);
}

} // namespace

std::string PlatformForDisplayOrExit()
{
	const std::string requested = environment("QT_QPA_PLATFORM");
	if (!requested.empty()) {
		std::string tried;
		for (const QString& entry : QString::fromStdString(requested).split(QLatin1Char(';'))) {
			const QString platform = entry.section(QLatin1Char(':'), 0, 0).trimmed();
			Attempt attempt;
			if (platform.isEmpty())
				continue;
			if (platform == QLatin1String("xcb"))
				attempt = try_x_display();
			else if (platform.startsWith(QLatin1String("wayland")))
				attempt = try_wayland_display();
			else
				return std::string(); // offscreen, a frame buffer, ...: Qt will tell
			if (attempt.opens)
				return std::string();
			tried += (tried.empty() ? "" : "; ") + attempt.why;
		}
		if (tried.empty())
			return std::string();
		exit_without_display("QT_QPA_PLATFORM=" + requested + ": " + tried);
	}

	const Attempt x = try_x_display();
	const Attempt wayland = try_wayland_display();
	if (x.opens && wayland.opens)
		return std::string();
	if (x.opens)
		return "xcb";
	if (wayland.opens)
		return "wayland";
	exit_without_display(x.why + "; " + wayland.why);
}

} // namespace kit
