#include "ShellCommands.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

std::string ShellQuoted(const std::string& text)
{
	std::string quoted = "'";
	for (char c : text)
		quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
	return quoted + "'";
}

std::string OutputOf(const std::string& command, int* status)
{
	std::string output;
	int result = -1;
	if (FILE* pipe = ::popen(command.c_str(), "r")) {
		char buffer[4096];
		size_t read;
		while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
			output.append(buffer, read);
		const int ended = ::pclose(pipe);
		result = WIFEXITED(ended) ? WEXITSTATUS(ended) : -1;
	}
	if (status != nullptr)
		*status = result;
	return output;
}

bool HavePoppler()
{
	return std::system("command -v pdfinfo pdfimages pdffonts pdftotext pdftoppm >/dev/null 2>&1")
		== 0;
}
