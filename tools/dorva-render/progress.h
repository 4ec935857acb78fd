// What dorva-render tells on standard error as it goes: a progress bar on a terminal, one
// line per picture otherwise; a picture that fails is told in a line of its own either way.
#pragma once

#include <cstddef>
#include <string>

class progress_report {
public:
	explicit progress_report(size_t total);

	void starting(size_t index, const std::string& picture);
	void written(const std::string& picture, const std::string& output);
	void failed(const std::string& picture, const std::string& why);
	// A line of its own that is no picture's result (a warning).
	void note(const std::string& line);
	// After the last picture: the bar's line is ended.
	void finish();

private:
	void _draw_bar(size_t done, const std::string& picture);
	void _clear_bar();

	size_t fTotal;
	size_t fDone;
	bool fTerminal;
	std::string fCurrent;
};
