#include "ics_lines.h"

#include <cctype>

namespace {

std::string capitals(std::string text)
{
	for (char& c : text)
		c = char(toupper(static_cast<unsigned char>(c)));
	return text;
}

bool is_name_character(char c)
{
	return isalnum(static_cast<unsigned char>(c)) || c == '-';
}

} // namespace

bool split_content_line(const std::string& line, int max_parameters, content_line* out)
{
	size_t at = 0;
	while (at < line.size() && is_name_character(line[at]))
		at++;
	if (at == 0 || at == line.size() || (line[at] != ';' && line[at] != ':'))
		return false;
	out->name = capitals(line.substr(0, at));
	out->tzid.clear();
	out->type.clear();
	out->value.clear();
	out->parameters = 0;

	// Each parameter runs to the next ';' or ':' outside double quotes.
	while (line[at] == ';') {
		const size_t begin = ++at;
		bool quoted = false;
		while (at < line.size() && (quoted || (line[at] != ';' && line[at] != ':'))) {
			if (line[at] == '"')
				quoted = !quoted;
			at++;
		}
		if (at == line.size())
			return false;
		if (++out->parameters > max_parameters)
			return true;
		const std::string parameter = line.substr(begin, at - begin);
		const size_t equals = parameter.find('=');
		if (equals == std::string::npos)
			continue;
		std::string value = parameter.substr(equals + 1);
		if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
			value = value.substr(1, value.size() - 2);
		const std::string name = capitals(parameter.substr(0, equals));
		if (name == "TZID")
			out->tzid = value;
		else if (name == "VALUE")
			out->type = capitals(value);
	}
	out->value = line.substr(at + 1);
	return true;
}

content_lines::content_lines(const std::string& text) : fText(text)
{
	if (fText.compare(0, 3, "\xef\xbb\xbf") == 0)
		fPosition = 3;
}

bool content_lines::next(std::string* line, int* number, std::string* reason)
{
	line->clear();
	reason->clear();
	do {
		if (fPosition >= fText.size())
			return false;
		*number = fLine + 1;
		take_physical(line);
	} while (line->find_first_not_of(" \t") == std::string::npos);

	while (fPosition < fText.size() && (fText[fPosition] == ' ' || fText[fPosition] == '\t')) {
		std::string continuation;
		take_physical(&continuation);
		line->append(continuation, 1, std::string::npos);
		if (line->size() > kMaxLineLength)
			break;
	}
	if (line->size() > kMaxLineLength)
		*reason = "line longer than 64 KiB";
	else if (line->find('\0') != std::string::npos)
		*reason = "not a text line (it holds a NUL byte)";
	return reason->empty();
}

void content_lines::take_physical(std::string* out)
{
	size_t end = fText.find('\n', fPosition);
	if (end == std::string::npos)
		end = fText.size();
	size_t stop = end;
	if (stop > fPosition && fText[stop - 1] == '\r')
		stop--;
	out->assign(fText, fPosition, stop - fPosition);
	fPosition = end + 1;
	fLine++;
}
