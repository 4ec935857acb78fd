// Starts a program on the current X display and times it, as a person waiting for it would
// see it: from the moment it is started until one of its top-level windows is shown with
// the given title. The display's own events say when that happens (no polling, so the
// measuring costs the measured program nothing). Then it waits until the program has gone
// quiet (its processor time stops growing), reads its peak and current resident memory
// from /proc, and ends it.
//
//   window_timer [--timeout SECONDS] [--settle MS] TITLE -- PROGRAM [ARGUMENTS...]
//
// Prints one line: "ms=<to titled window> idle_ms=<to the last growth of its processor time
// seen, sampled every 20 ms in steps of the kernel's clock tick> hwm_kb=<VmHWM>
// rss_kb=<VmRSS> cpu_ms=<its processor time until then>". Exit status 0 on success, 1 when the window did not come
// (the program ended, or the time ran out), 2 on bad usage.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
	return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Windows come and go while the program starts; asking about one that has just gone is
// not an error here.
int ignore_x_errors(Display*, XErrorEvent*)
{
	return 0;
}

struct Watch {
	Display* display;
	Atom netWmName;
	Atom utf8String;
	std::string wanted;
	std::set<Window> mapped;
};

std::string window_title(Watch& watch, Window window)
{
	Atom type = None;
	int format = 0;
	unsigned long count = 0, after = 0;
	unsigned char* data = nullptr;
	std::string title;
	if (XGetWindowProperty(watch.display, window, watch.netWmName, 0, 1024, False, watch.utf8String,
			&type, &format, &count, &after, &data)
			== Success
		&& data != nullptr && type == watch.utf8String && format == 8) {
		title.assign(reinterpret_cast<char*>(data), count);
	} else {
		char* name = nullptr;
		if (XFetchName(watch.display, window, &name) && name != nullptr) {
			title = name;
			XFree(name);
		}
	}
	if (data != nullptr)
		XFree(data);
	return title;
}

bool is_viewable(Watch& watch, Window window)
{
	if (watch.mapped.count(window))
		return true;
	XWindowAttributes attributes;
	return XGetWindowAttributes(watch.display, window, &attributes)
		&& attributes.map_state == IsViewable;
}

// Whether the window is shown with the wanted title.
bool done(Watch& watch, Window window)
{
	return is_viewable(watch, window) && window_title(watch, window) == watch.wanted;
}

// Processor time (user and system) of a process in milliseconds; -1 once it is gone.
double cpu_ms(pid_t pid)
{
	std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
	std::string text;
	if (!std::getline(stat, text))
		return -1;
	// The command name may hold spaces: count the fields from its closing parenthesis.
	size_t close = text.rfind(')');
	if (close == std::string::npos)
		return -1;
	std::istringstream fields(text.substr(close + 2));
	std::string field;
	unsigned long long user = 0, system = 0;
	for (int i = 3; fields >> field; i++) {
		if (i == 14)
			user = std::strtoull(field.c_str(), nullptr, 10);
		if (i == 15) {
			system = std::strtoull(field.c_str(), nullptr, 10);
			break;
		}
	}
	return double(user + system) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long status_kb(pid_t pid, const char* key)
{
	std::ifstream status("/proc/" + std::to_string(pid) + "/status");
	std::string line;
	size_t length = std::strlen(key);
	while (std::getline(status, line)) {
		if (line.compare(0, length, key) == 0 && line.size() > length && line[length] == ':')
			return std::strtol(line.c_str() + length + 1, nullptr, 10);
	}
	return -1;
}

void end_program(pid_t pid)
{
	kill(pid, SIGTERM);
	for (int i = 0; i < 100; i++) {
		if (waitpid(pid, nullptr, WNOHANG) == pid)
			return;
		usleep(20000);
	}
	kill(pid, SIGKILL);
	waitpid(pid, nullptr, 0);
}

int usage()
{
	std::fprintf(stderr,
		"usage: window_timer [--timeout SECONDS] [--settle MS] TITLE -- PROGRAM [ARGUMENTS...]\n");
	return 2;
}

} // namespace

int main(int argc, char** argv)
{
	double timeoutMs = 60000;
	double settleMs = 300;
	int i = 1;
	for (; i < argc && std::strncmp(argv[i], "--", 2) == 0 && argv[i][2] != '\0'; i += 2) {
		if (i + 1 >= argc)
			return usage();
		if (std::strcmp(argv[i], "--timeout") == 0)
			timeoutMs = std::atof(argv[i + 1]) * 1000;
		else if (std::strcmp(argv[i], "--settle") == 0)
			settleMs = std::atof(argv[i + 1]);
		else
			return usage();
	}
	if (i + 2 >= argc || std::strcmp(argv[i + 1], "--") != 0)
		return usage();
	Watch watch{};
	watch.wanted = argv[i];
	char** command = argv + i + 2;

	watch.display = XOpenDisplay(nullptr);
	if (watch.display == nullptr) {
		std::fprintf(stderr, "window_timer: cannot open the display\n");
		return 1;
	}
	XSetErrorHandler(ignore_x_errors);
	watch.netWmName = XInternAtom(watch.display, "_NET_WM_NAME", False);
	watch.utf8String = XInternAtom(watch.display, "UTF8_STRING", False);
	Window root = DefaultRootWindow(watch.display);
	// Top-level windows are the root's children: their making and mapping are reported here.
	XSelectInput(watch.display, root, SubstructureNotifyMask);
	XSync(watch.display, False);

	std::fflush(nullptr);
	const Clock::time_point start = Clock::now();
	pid_t pid = fork();
	if (pid < 0) {
		std::perror("window_timer: fork");
		return 1;
	}
	if (pid == 0) {
		close(ConnectionNumber(watch.display));
		execvp(command[0], command);
		std::fprintf(stderr, "window_timer: cannot run %s: %s\n", command[0], std::strerror(errno));
		_exit(127);
	}

	double shownMs = -1;
	const int connection = ConnectionNumber(watch.display);
	while (shownMs < 0) {
		while (XPending(watch.display) > 0 && shownMs < 0) {
			XEvent event;
			XNextEvent(watch.display, &event);
			Window window = None;
			switch (event.type) {
				case CreateNotify:
					window = event.xcreatewindow.window;
					// Watch its title from now on; it may have been set already.
					XSelectInput(watch.display, window, PropertyChangeMask);
					break;
				case MapNotify:
					window = event.xmap.window;
					watch.mapped.insert(window);
					break;
				case UnmapNotify:
					watch.mapped.erase(event.xunmap.window);
					break;
				case DestroyNotify:
					watch.mapped.erase(event.xdestroywindow.window);
					break;
				case PropertyNotify:
					if (event.xproperty.atom == watch.netWmName
						|| event.xproperty.atom == XA_WM_NAME)
						window = event.xproperty.window;
					break;
			}
			if (window != None && done(watch, window))
				shownMs = ms_since(start);
		}
		if (shownMs >= 0)
			break;
		int status;
		if (waitpid(pid, &status, WNOHANG) == pid) {
			std::fprintf(
				stderr, "window_timer: %s ended before its window was shown\n", command[0]);
			return 1;
		}
		if (ms_since(start) > timeoutMs) {
			std::fprintf(stderr, "window_timer: no window titled \"%s\" within %.0f s\n",
				watch.wanted.c_str(), timeoutMs / 1000);
			end_program(pid);
			return 1;
		}
		pollfd ready{connection, POLLIN, 0};
		poll(&ready, 1, 20);
	}

	// Let the program finish what follows the title (drawing, putting it on screen) before
	// its memory is read.
	double last = cpu_ms(pid);
	Clock::time_point quietSince = Clock::now();
	const Clock::time_point settleStart = Clock::now();
	while (ms_since(quietSince) < settleMs && ms_since(settleStart) < 10000) {
		usleep(20000);
		double now = cpu_ms(pid);
		if (now != last) {
			last = now;
			quietSince = Clock::now();
		}
	}
	const double idleMs = std::chrono::duration<double, std::milli>(quietSince - start).count();
	long hwm = status_kb(pid, "VmHWM");
	long rss = status_kb(pid, "VmRSS");
	std::printf("ms=%.1f idle_ms=%.0f hwm_kb=%ld rss_kb=%ld cpu_ms=%.0f\n", shownMs, idleMs, hwm,
		rss, last);
	end_program(pid);
	XCloseDisplay(watch.display);
	return 0;
}
