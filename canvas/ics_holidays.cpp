#include "ics_holidays.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <libical/ical.h>

#include "civil_date.h"

namespace {

// What one file may cost. A year of holidays, birthdays and anniversaries takes a few
// kilobytes and the export of a whole personal calendar a few megabytes; anything beyond
// these bounds is refused rather than read.
const size_t kMaxFileSize = 8 * 1024 * 1024;
const size_t kMaxLineLength = 64 * 1024; // a content line, after unfolding
const size_t kMaxDepth = 16;             // components inside components
// The work that recurrence rules may take, per file: the steps that the rule iterators are
// estimated to take (one per day of a daily rule, one per week of a weekly one, ...) plus
// the occurrences they give. A yearly birthday costs a few dozen; a daily event from 1900
// with a count about seventy-five thousand.
const long kMaxRecurrenceWork = 500000;
// The library's rule iterator can spend up to about a second on some rules that never
// occur, searching centuries ahead before it gives up, whatever the steps counted above;
// so the time spent following rules is bounded too. A real holiday file needs milliseconds.
const std::chrono::milliseconds kMaxRecurrenceTime(2000);
// How much of the parser's own account of a fault a message quotes.
const size_t kMaxQuoted = 100;

struct parser_deleter {
	void operator()(icalparser* parser) const { icalparser_free(parser); }
};
struct component_deleter {
	void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};
struct iterator_deleter {
	void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
};
typedef std::unique_ptr<icalparser, parser_deleter> parser_pointer;
typedef std::unique_ptr<icalcomponent, component_deleter> component_pointer;
typedef std::unique_ptr<icalrecur_iterator, iterator_deleter> iterator_pointer;

// Cuts text to at most length bytes without splitting a UTF-8 sequence.
std::string shortened(const std::string& text, size_t length)
{
	if (text.size() <= length)
		return text;
	while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xc0) == 0x80)
		length--;
	return text.substr(0, length) + "...";
}

// Reads the whole file. Only a regular file of a sensible size is read; opening does not
// wait on a named pipe, and a file that grows while it is read is cut off at the bound.
bool read_whole_file(const std::string& path, std::string* text, std::string* reason)
{
	const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
	if (fd < 0) {
		*reason = std::string("cannot be read: ") + std::strerror(errno);
		return false;
	}
	struct stat status;
	bool ok = false;
	if (fstat(fd, &status) != 0)
		*reason = std::string("cannot be read: ") + std::strerror(errno);
	else if (S_ISDIR(status.st_mode))
		*reason = "is a folder, not an iCalendar file";
	else if (!S_ISREG(status.st_mode))
		*reason = "is not a regular file";
	else if (status.st_size > off_t(kMaxFileSize))
		*reason = "is larger than 8 MiB, too large for a holiday file";
	else
		ok = true;

	while (ok) {
		char buffer[65536];
		const ssize_t count = read(fd, buffer, sizeof(buffer));
		if (count < 0 && errno == EINTR)
			continue;
		if (count < 0) {
			*reason = std::string("cannot be read: ") + std::strerror(errno);
			ok = false;
		} else if (count == 0) {
			break;
		} else if (text->size() + size_t(count) > kMaxFileSize) {
			*reason = "is larger than 8 MiB, too large for a holiday file";
			ok = false;
		} else {
			text->append(buffer, size_t(count));
		}
	}
	close(fd);
	return ok;
}

// Hands out the content lines of an iCalendar text one by one, with folded lines joined
// (a line that begins with a space or a tab continues the one before it) and the number
// of the line each starts on. Blank lines are passed over.
class content_lines {
public:
	explicit content_lines(const std::string& text) : fText(text)
	{
		if (fText.compare(0, 3, "\xef\xbb\xbf") == 0)
			fPosition = 3;
	}

	// False at the end of the text, or with a reason when a line cannot be taken.
	bool next(std::string* line, int* number, std::string* reason)
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

private:
	void take_physical(std::string* out)
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

	const std::string& fText;
	size_t fPosition = 0;
	int fLine = 0;
};

// The first fault that the parser noted in a component or the ones inside it, leaving out
// the notes it adds to components that it closes itself.
std::string first_fault(icalcomponent* component, size_t depth = 0)
{
	if (component == nullptr || depth > kMaxDepth)
		return std::string();
	for (icalproperty* property =
			 icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
		 property != nullptr;
		 property = icalcomponent_get_next_property(component, ICAL_XLICERROR_PROPERTY)) {
		const char* text = icalproperty_get_xlicerror(property);
		if (text != nullptr && std::strncmp(text, "Missing END tag", 15) != 0)
			return text;
	}
	for (icalcomponent* child = icalcomponent_get_first_component(component, ICAL_ANY_COMPONENT);
		 child != nullptr;
		 child = icalcomponent_get_next_component(component, ICAL_ANY_COMPONENT)) {
		std::string fault = first_fault(child, depth + 1);
		if (!fault.empty())
			return fault;
	}
	return std::string();
}

// The name of a BEGIN or END line's component, in capitals; empty for any other line.
std::string component_name(const std::string& line, const char* keyword)
{
	const size_t length = std::strlen(keyword);
	if (line.size() <= length || line[length] != ':'
		|| strncasecmp(line.c_str(), keyword, length) != 0)
		return std::string();
	std::string name = line.substr(length + 1);
	const size_t first = name.find_first_not_of(" \t");
	const size_t last = name.find_last_not_of(" \t");
	name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
	for (char& c : name)
		c = char(toupper(static_cast<unsigned char>(c)));
	return name.empty() ? std::string("?") : name;
}

struct open_component {
	std::string name;
	int line;
};

// Reads one file for one year. Each component directly inside a calendar (an event, a
// time zone, ...) is parsed on its own and let go once it has been looked at, so the
// memory held is that of one event, whatever the size of the file.
class ics_reader {
public:
	ics_reader(int year) : fYear(year) {}

	bool read(const std::string& text)
	{
		content_lines lines(text);
		std::string line;
		std::string reason;
		int number = 0;
		while (lines.next(&line, &number, &reason)) {
			if (!take(line, number))
				return false;
		}
		if (!reason.empty())
			return fail(number, reason);
		if (!fOpen.empty()) {
			return fail(fOpen.back().line,
				"BEGIN:" + fOpen.back().name + " is never closed by END:" + fOpen.back().name);
		}
		if (!fSawCalendar)
			return fail(0, "holds no calendar (no BEGIN:VCALENDAR)");
		return true;
	}

	const year_days& days() const { return fDays; }
	int fault_line() const { return fFaultLine; }
	const std::string& fault() const { return fFault; }

private:
	bool fail(int line, const std::string& reason)
	{
		fFaultLine = line;
		fFault = reason;
		return false;
	}

	bool take(std::string& line, int number)
	{
		const std::string begins = component_name(line, "BEGIN");
		const std::string ends = component_name(line, "END");
		if (!begins.empty()) {
			if (fOpen.empty() && begins != "VCALENDAR")
				return fail(number, "BEGIN:" + begins + " outside a calendar");
			if (fOpen.size() >= kMaxDepth)
				return fail(number, "components nested too deeply");
			fOpen.push_back({begins, number});
			if (fOpen.size() == 1) {
				fSawCalendar = true;
				fCalendar.reset(icalparser_new());
			} else if (fOpen.size() == 2) {
				fChild.reset(icalparser_new());
			}
		} else if (!ends.empty()) {
			if (fOpen.empty())
				return fail(number, "END:" + ends + " without a BEGIN");
			if (ends != fOpen.back().name) {
				return fail(number,
					"END:" + ends + " does not close BEGIN:" + fOpen.back().name + " of line "
						+ std::to_string(fOpen.back().line));
			}
		} else if (fOpen.empty()) {
			return fail(number, "text outside a calendar: " + shortened(line, kMaxQuoted));
		}

		icalparser* parser = fOpen.size() >= 2 ? fChild.get() : fCalendar.get();
		if (parser == nullptr)
			return fail(number, "the iCalendar parser could not be started");
		component_pointer finished(icalparser_add_line(parser, line.data()));
		if (icalparser_get_state(parser) == ICALPARSER_ERROR) {
			// The parser's partial result stays the parser's, which frees it.
			const std::string fault = first_fault(icalparser_clean(parser));
			return fail(
				number, fault.empty() ? "not valid iCalendar" : shortened(fault, kMaxQuoted));
		}
		if (ends.empty())
			return true;

		const open_component closed = fOpen.back();
		fOpen.pop_back();
		if (fOpen.size() > 1)
			return true;
		if (finished == nullptr)
			return fail(closed.line, "BEGIN:" + closed.name + " could not be parsed");
		const std::string fault = first_fault(finished.get());
		if (!fault.empty())
			return fail(closed.line, shortened(fault, kMaxQuoted));
		if (fOpen.size() == 1) {
			fChild.reset();
			if (icalcomponent_isa(finished.get()) == ICAL_VEVENT_COMPONENT)
				return add_event(finished.get(), closed.line);
		} else {
			fCalendar.reset();
		}
		return true;
	}

	void mark(const icaltimetype& time, year_days* days) const
	{
		if (time.year == fYear && is_valid_date(time.year, time.month, time.day))
			days->set(day_of_year(time.year, time.month, time.day) - 1);
	}

	// Marks the start of the event, the days its rules and extra dates give, and takes away
	// the dates it excludes.
	bool add_event(icalcomponent* event, int line)
	{
		if (icalcomponent_get_status(event) == ICAL_STATUS_CANCELLED)
			return true;
		icalproperty* startProperty =
			icalcomponent_get_first_property(event, ICAL_DTSTART_PROPERTY);
		if (startProperty == nullptr)
			return true; // an event without a start has no day to mark
		const icaltimetype start = icalproperty_get_dtstart(startProperty);
		if (icaltime_is_null_time(start))
			return true;

		year_days days;
		mark(start, &days);
		for (icalproperty* rule = icalcomponent_get_first_property(event, ICAL_RRULE_PROPERTY);
			 rule != nullptr; rule = icalcomponent_get_next_property(event, ICAL_RRULE_PROPERTY)) {
			if (!expand(icalproperty_get_rrule(rule), start, line, &days))
				return false;
		}
		for (icalproperty* extra = icalcomponent_get_first_property(event, ICAL_RDATE_PROPERTY);
			 extra != nullptr;
			 extra = icalcomponent_get_next_property(event, ICAL_RDATE_PROPERTY)) {
			const icaldatetimeperiodtype date = icalproperty_get_rdate(extra);
			mark(icaltime_is_null_time(date.time) ? date.period.start : date.time, &days);
		}
		year_days excluded;
		for (icalproperty* exclusion =
				 icalcomponent_get_first_property(event, ICAL_EXDATE_PROPERTY);
			 exclusion != nullptr;
			 exclusion = icalcomponent_get_next_property(event, ICAL_EXDATE_PROPERTY)) {
			mark(icalproperty_get_exdate(exclusion), &excluded);
		}
		fDays |= days & ~excluded;
		return true;
	}

	// Marks the occurrences of one recurrence rule that fall in the year. The iterator is
	// started at the year's beginning when the rule allows it and stopped at its end, so
	// that the work does not grow with the distance to the event's first year.
	bool expand(icalrecurrencetype rule, const icaltimetype& start, int line, year_days* days)
	{
		if (rule.freq == ICAL_NO_RECURRENCE)
			return fail(line, "the recurrence rule has no frequency");
		if (rule.freq < ICAL_DAILY_RECURRENCE)
			return fail(line, "the event repeats more often than daily");

		icaltimetype yearStart = start;
		yearStart.year = fYear;
		yearStart.month = 1;
		yearStart.day = 1;
		icaltimetype yearEnd = yearStart;
		yearEnd.month = 12;
		yearEnd.day = 31;
		if (!start.is_date) {
			yearStart.hour = yearStart.minute = yearStart.second = 0;
			yearEnd.hour = 23;
			yearEnd.minute = yearEnd.second = 59;
		}
		if (icaltime_compare(start, yearEnd) > 0)
			return true;
		if (!icaltime_is_null_time(rule.until)) {
			if (icaltime_compare(rule.until, yearStart) < 0)
				return true;
			if (icaltime_compare(rule.until, yearEnd) > 0)
				rule.until = yearEnd;
		} else {
			rule.until = yearEnd;
		}

		// A rule with a count must be followed from its start to know where the count ends.
		const bool skipAhead = rule.count == 0 && icaltime_compare(start, yearStart) < 0;
		const icaltimetype& from = skipAhead ? yearStart : start;
		const long span =
			day_number(fYear, 12, 31) - day_number(from.year, from.month, from.day) + 1;
		long steps = span;
		if (rule.freq == ICAL_WEEKLY_RECURRENCE)
			steps = span / 7 + 2;
		else if (rule.freq == ICAL_MONTHLY_RECURRENCE)
			steps = span / 28 + 2;
		else if (rule.freq == ICAL_YEARLY_RECURRENCE)
			steps = (span / 365 + 2) * 12;
		fWork += steps;
		if (fWork > kMaxRecurrenceWork)
			return fail(line, "the events repeat too often to be expanded");

		const auto began = std::chrono::steady_clock::now();
		iterator_pointer iterator(icalrecur_iterator_new(rule, start));
		if (iterator != nullptr && skipAhead
			&& !icalrecur_iterator_set_start(iterator.get(), yearStart))
			iterator.reset();
		bool ok = iterator != nullptr;
		while (ok) {
			const icaltimetype next = icalrecur_iterator_next(iterator.get());
			if (icaltime_is_null_time(next) || icaltime_compare(next, yearEnd) > 0)
				break;
			ok = ++fWork <= kMaxRecurrenceWork;
			mark(next, days);
		}
		fTime += std::chrono::steady_clock::now() - began;
		if (fWork > kMaxRecurrenceWork)
			return fail(line, "the events repeat too often to be expanded");
		if (fTime > kMaxRecurrenceTime)
			return fail(line, "the recurrence rules take too long to follow");
		if (iterator == nullptr)
			return fail(line, "the recurrence rule cannot be followed");
		return true;
	}

	int fYear;
	year_days fDays;
	long fWork = 0;
	std::chrono::steady_clock::duration fTime{};
	std::vector<open_component> fOpen;
	parser_pointer fCalendar;
	parser_pointer fChild;
	bool fSawCalendar = false;
	int fFaultLine = 0;
	std::string fFault;
};

} // namespace

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

bool read_ics_holidays(const std::string& path, int year, year_days* days, std::string* error)
{
	std::string text;
	std::string reason;
	if (!read_whole_file(path, &text, &reason)) {
		*error = printable_text(path + ": " + reason);
		return false;
	}

	// Faults in a file are reported to the caller, never by ending the program.
	icalerror_set_errors_are_fatal(0);
	ics_reader reader(year);
	if (!reader.read(text)) {
		std::string where = path;
		if (reader.fault_line() > 0)
			where += ":" + std::to_string(reader.fault_line());
		*error = printable_text(where + ": " + reader.fault());
		return false;
	}
	*days = reader.days();
	return true;
}
