#include "ics_holidays.h"

#include "civil_date.h"
#include "ics_reader.h"

bool read_ics_holidays(const std::string& path, int year, ics_budget* budget, year_days* days,
	std::vector<std::string>* notes, std::string* error)
{
	const long firstDay = day_number(year, 1, 1);
	year_days read;
	const auto mark = [&](long day, const ics_event&) { read.set(size_t(day - firstDay)); };
	if (!read_ics_days(path, year, budget, mark, notes, error))
		return false;
	*days = read;
	return true;
}

std::string printable_text(std::string text)
{
	// Walks the text as UTF-8; a byte that does not begin a well-formed sequence, and the
	// control characters of both ranges (below 0x20, 0x7f, and 0x80 to 0x9f), become '?'.
	size_t i = 0;
	while (i < text.size()) {
		const unsigned char lead = static_cast<unsigned char>(text[i]);
		size_t length = 1;
		unsigned long code = lead;
		if (lead >= 0xc2 && lead <= 0xdf) {
			length = 2;
			code = lead & 0x1f;
		} else if (lead >= 0xe0 && lead <= 0xef) {
			length = 3;
			code = lead & 0x0f;
		} else if (lead >= 0xf0 && lead <= 0xf4) {
			length = 4;
			code = lead & 0x07;
		}
		bool wellFormed = lead < 0x80 || length > 1;
		for (size_t k = 1; wellFormed && k < length; k++) {
			const unsigned char next =
				i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
			wellFormed = (next & 0xc0) == 0x80;
			code = (code << 6) | (next & 0x3f);
		}
		if (!wellFormed || code < 0x20 || code == 0x7f || (code >= 0x80 && code <= 0x9f)) {
			text[i] = '?';
			i++;
		} else {
			i += length;
		}
	}
	return text;
}
