#include "progress.h"

#include "printable_name.h"

#include <unistd.h>

#include <cstdio>

namespace {

const int kBarWidth = 30;
// Back to the start of the line, and everything after the cursor erased.
const char kClearLine[] = "\r\033[K";

} // namespace

progress_report::progress_report(size_t total)
	: fTotal(total), fDone(0), fTerminal(isatty(STDERR_FILENO) == 1)
{
}

void progress_report::_draw_bar(size_t done, const std::string& picture)
{
	const int filled = fTotal == 0 ? kBarWidth : int(done * kBarWidth / fTotal);
	std::string bar(size_t(filled), '#');
	bar.resize(kBarWidth, '.');
	std::fprintf(stderr, "%s[%s] %zu/%zu %s", kClearLine, bar.c_str(), done, fTotal,
		printable_name(picture).c_str());
	std::fflush(stderr);
}

void progress_report::_clear_bar()
{
	std::fputs(kClearLine, stderr);
}

void progress_report::starting(size_t index, const std::string& picture)
{
	fCurrent = picture;
	if (fTerminal)
		_draw_bar(index, picture);
}

void progress_report::written(const std::string& picture, const std::string& output)
{
	fDone++;
	if (fTerminal)
		_draw_bar(fDone, picture);
	else
		std::fprintf(stderr, "dorva-render: [%zu/%zu] %s -> %s\n", fDone, fTotal,
			printable_name(picture).c_str(), printable_name(output).c_str());
}

void progress_report::failed(const std::string& picture, const std::string& why)
{
	fDone++;
	if (fTerminal) {
		_clear_bar();
		std::fprintf(stderr, "dorva-render: %s: %s\n", printable_name(picture).c_str(),
			printable_name(why).c_str());
		_draw_bar(fDone, picture);
	} else {
		std::fprintf(stderr, "dorva-render: [%zu/%zu] %s: %s\n", fDone, fTotal,
			printable_name(picture).c_str(), printable_name(why).c_str());
	}
}

void progress_report::note(const std::string& line)
{
	if (fTerminal)
		_clear_bar();
	std::fprintf(stderr, "dorva-render: %s\n", printable_name(line).c_str());
	if (fTerminal)
		_draw_bar(fDone, fCurrent);
}

void progress_report::finish()
{
	if (fTerminal && fTotal > 0)
		std::fputs("\n", stderr);
}
