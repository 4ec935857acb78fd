#include "ics_reader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "civil_date.h"
#include "ics_holidays.h"
#include "ics_lines.h"
#include "ics_rules.h"
#include "ics_zones.h"
#include "utf8_cut.h"

namespace {

const size_t kMaxFileSize = 8 * 1024 * 1024;
const size_t kMaxDepth = 16; // components inside components
// What one event or time zone may hold of the properties that are read: a real one has a
// few parameters a line and a few dozen dates; the library's cost grows faster than the
// number of parameters of a line.
const int kMaxParameters = 32;
const int kMaxValues = 5000;
// How many notes one file gives before they are only counted, and how much of a line a
// note quotes.
const size_t kMaxNotes = 10;
const size_t kMaxQuoted = 100;

// Cuts text to at most length bytes without splitting a UTF-8 sequence.
std::string shortened(const std::string& text, size_t length = kMaxQuoted)
{
	if (text.size() <= length)
		return text;
	return text.substr(0, utf8_cut(text, length)) + "...";
}

// Reads the whole file, of at most limit bytes. Only a regular file is read; opening does
// not wait on a named pipe, and a file that grows while it is read is cut off at the bound.
bool read_whole_file(const std::string& path, size_t limit, std::string* text, std::string* reason)
{
	auto tooLarge = [&](size_t size) {
		return size > kMaxFileSize ? "is larger than 8 MiB, too large for a holiday file"
								   : "is too large: the holiday files together may hold 8 MiB";
	};
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
	else if (status.st_size > off_t(limit))
		*reason = tooLarge(size_t(status.st_size));
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
		} else if (text->size() + size_t(count) > limit) {
			*reason = tooLarge(text->size() + size_t(count));
			ok = false;
		} else {
			text->append(buffer, size_t(count));
		}
	}
	close(fd);
	return ok;
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

bool is_observance(const std::string& component)
{
	return component == "STANDARD" || component == "DAYLIGHT";
}

// The properties that decide an event's days and a time zone's offsets, and the event's
// summary; the others are not looked at.
bool is_read(const std::string& component, const std::string& property)
{
	static const std::set<std::string> event = {"DTSTART", "DTEND", "DURATION", "RRULE", "RDATE",
		"EXDATE", "RECURRENCE-ID", "STATUS", "UID", "SUMMARY"};
	static const std::set<std::string> observance = {
		"DTSTART", "TZOFFSETFROM", "TZOFFSETTO", "RRULE", "RDATE"};
	if (component == "VEVENT")
		return event.count(property) > 0;
	if (component == "VTIMEZONE")
		return property == "TZID";
	return is_observance(component) && observance.count(property) > 0;
}

struct open_component {
	std::string name;
	int line;
};

// An event or time zone as the file writes it: the properties that are read, with their
// line numbers, and the first fault met among them.
struct component {
	std::string name;
	int line = 0;
	std::vector<std::pair<content_line, int>> properties;
	std::vector<component> parts; // a time zone's STANDARD and DAYLIGHT parts
	int values = 0;
	bool named = false; // whether it holds its SUMMARY
	int faultLine = 0;
	std::string fault;

	const content_line* first(const char* property) const
	{
		for (const auto& [text, number] : properties) {
			if (text.name == property)
				return &text;
		}
		return nullptr;
	}
};

component make_component(const std::string& name, int line)
{
	component made;
	made.name = name;
	made.line = line;
	return made;
}

// A time as an event names it: a date, a wall-clock time without a zone (local time
// wherever the calendar is shown), or an instant (in UTC, or in a known zone).
struct moment {
	bool isDate = false;
	bool absolute = false;
	ics_seconds seconds = 0; // from 1970: UTC for an instant, the wall clock otherwise
	long wallDay = 0;        // the date on the wall clock of the time's own zone
};

long floor_day(ics_seconds seconds)
{
	return long(seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400));
}

icaltimetype time_of(ics_seconds seconds, bool isDate)
{
	const time_t value = time_t(seconds);
	struct tm fields;
	gmtime_r(&value, &fields);
	icaltimetype time = icaltime_null_time();
	time.year = fields.tm_year + 1900;
	time.month = fields.tm_mon + 1;
	time.day = fields.tm_mday;
	time.is_date = isDate;
	if (!isDate) {
		time.hour = fields.tm_hour;
		time.minute = fields.tm_min;
		time.second = fields.tm_sec;
	}
	return time;
}

// Dates and instants that an event's EXDATEs, or the RECURRENCE-IDs of the events that
// replace some of its occurrences, name.
struct moment_set {
	std::set<ics_seconds> instants;
	std::set<long> dates;
	std::set<long> instantDays;

	void add(const moment& m)
	{
		if (m.isDate) {
			dates.insert(m.wallDay);
		} else {
			instants.insert(m.seconds);
			instantDays.insert(m.wallDay);
		}
	}
	bool has(const moment& m) const
	{
		if (m.isDate)
			return dates.count(m.wallDay) > 0 || instantDays.count(m.wallDay) > 0;
		return instants.count(m.seconds) > 0 || dates.count(m.wallDay) > 0;
	}
};

// Reads one file for one year, in two walks over its text: first the time zones and the
// events that replace an occurrence of another, then the other events, so that each event
// finds what it needs whatever the order of the file.
class ics_reader {
public:
	ics_reader(const std::string& path, int year, ics_budget* budget,
		const ics_day_visitor& covered, std::vector<std::string>* notes)
		: fPath(path), fFirstDay(day_number(year, 1, 1)), fLastDay(day_number(year, 12, 31)),
		  fBudget(budget), fCovered(covered), fNotes(notes), fZones(year - 1, year + 1)
	{
	}

	bool read(const std::string& text)
	{
		if (!walk(text, ZONES))
			return false;
		for (const component& c : fReplacing) {
			if (!add_event(c))
				return false;
		}
		fReplacing.clear();
		if (!walk(text, EVENTS))
			return false;
		if (fNoteCount > kMaxNotes) {
			fNotes->push_back(printable_text(
				fPath + ": " + std::to_string(fNoteCount - kMaxNotes) + " more faults left out"));
		}
		return true;
	}

	int fault_line() const { return fFaultLine; }
	const std::string& fault() const { return fFault; }

private:
	enum pass { ZONES, EVENTS };

	bool fail(int line, const std::string& reason)
	{
		fFaultLine = line;
		fFault = reason;
		return false;
	}

	void note(int line, const std::string& reason)
	{
		if (++fNoteCount <= kMaxNotes)
			fNotes->push_back(printable_text(fPath + ":" + std::to_string(line) + ": " + reason));
	}

	bool out_of_budget(int line)
	{
		return fail(line,
			"the holiday files' recurring events and time zones take too long "
			"to follow");
	}

	bool walk(const std::string& text, pass which)
	{
		content_lines lines(text);
		std::string line;
		std::string reason;
		int number = 0;
		std::vector<open_component> open;
		bool sawCalendar = false;
		component current;
		while (lines.next(&line, &number, &reason)) {
			const std::string begins = component_name(line, "BEGIN");
			const std::string ends = component_name(line, "END");
			if (!begins.empty()) {
				if (open.empty() && begins != "VCALENDAR")
					return fail(number, "BEGIN:" + begins + " outside a calendar");
				if (open.size() >= kMaxDepth)
					return fail(number, "components nested too deeply");
				open.push_back({begins, number});
				sawCalendar = true;
				if (open.size() == 2)
					current = make_component(begins, number);
				else if (open.size() == 3 && current.name == "VTIMEZONE" && is_observance(begins))
					current.parts.push_back(make_component(begins, number));
			} else if (!ends.empty()) {
				if (open.empty())
					return fail(number, "END:" + ends + " without a BEGIN");
				if (ends != open.back().name) {
					return fail(number,
						"END:" + ends + " does not close BEGIN:" + open.back().name + " of line "
							+ std::to_string(open.back().line));
				}
				open.pop_back();
				if (open.size() == 1 && !finish(current, which))
					return false;
			} else if (open.empty()) {
				return fail(number, "text outside a calendar: " + shortened(line));
			} else {
				keep(line, number, open, which, &current);
			}
		}
		if (!reason.empty())
			return fail(number, reason);
		if (!open.empty()) {
			return fail(open.back().line,
				"BEGIN:" + open.back().name + " is never closed by END:" + open.back().name);
		}
		if (!sawCalendar)
			return fail(0, "holds no calendar (no BEGIN:VCALENDAR)");
		return true;
	}

	// Keeps a property line of an event or time zone for the walk that reads it.
	void keep(const std::string& line, int number, const std::vector<open_component>& open,
		pass which, component* current)
	{
		const size_t nameEnd = line.find_first_of(";:");
		if (which == ZONES && (nameEnd == 0 || nameEnd == std::string::npos)) {
			note(number, "not an iCalendar line, left out: " + shortened(line));
			return;
		}
		const bool wanted =
			current->name == "VEVENT" || (current->name == "VTIMEZONE" && which == ZONES);
		if (!wanted || !current->fault.empty() || nameEnd == std::string::npos)
			return;
		// The lines of an event or time zone, and of the parts of a time zone; not those of
		// the calendar or of the other components inside them.
		const bool part =
			open.size() == 3 && current->name == "VTIMEZONE" && is_observance(open[2].name);
		if (open.size() != 2 && !part)
			return;
		component* target = open.size() == 2 ? current : &current->parts.back();
		std::string name = line.substr(0, nameEnd);
		for (char& c : name)
			c = char(toupper(static_cast<unsigned char>(c)));
		content_line property;
		if (!is_read(target->name, name) || !split_content_line(line, kMaxParameters, &property))
			return;
		// The first summary names the event; one that cannot be read leaves it unnamed,
		// never left out.
		if (property.name == "SUMMARY") {
			if (!target->named && property.parameters <= kMaxParameters) {
				target->named = true;
				target->properties.emplace_back(std::move(property), number);
			}
			return;
		}
		if (property.parameters > kMaxParameters) {
			current->faultLine = number;
			current->fault = "more than " + std::to_string(kMaxParameters) + " parameters";
			return;
		}
		current->values += 1 + int(std::count(property.value.begin(), property.value.end(), ','));
		if (current->values > kMaxValues) {
			current->faultLine = number;
			current->fault = "more than " + std::to_string(kMaxValues) + " dates and properties";
			return;
		}
		target->properties.emplace_back(std::move(property), number);
	}

	// Reads a time zone in the first walk; keeps an event that replaces an occurrence of
	// another for the end of that walk; reads the other events in the second walk.
	bool finish(component& c, pass which)
	{
		if (c.name == "VTIMEZONE" && which == ZONES)
			return add_zone(c);
		if (c.name != "VEVENT")
			return true;
		const bool replaces = c.first("RECURRENCE-ID") != nullptr;
		if (which == ZONES && replaces)
			fReplacing.push_back(std::move(c));
		else if (which == EVENTS && !replaces)
			return add_event(c);
		return true;
	}

	// Reads a DATE or DATE-TIME value; a PERIOD's start.
	static bool read_time(const std::string& text, icaltimetype* time)
	{
		const std::string value = text.substr(0, text.find('/'));
		if (value.size() != 8 && value.size() != 15 && value.size() != 16)
			return false;
		*time = icaltime_from_string(value.c_str());
		if (icaltime_is_null_time(*time) || !is_valid_date(time->year, time->month, time->day))
			return false;
		return time->is_date || (time->hour < 24 && time->minute < 60 && time->second <= 60);
	}

	// The moment of a time read from a property with the given TZID; a zone that is known
	// nowhere is taken for local time, with a note.
	bool moment_of(icaltimetype time, const std::string& tzid, int line, moment* m)
	{
		m->isDate = time.is_date;
		m->absolute = !time.is_date && (icaltime_is_utc(time) || !tzid.empty());
		m->seconds = seconds_of(time);
		m->wallDay = day_number(time.year, time.month, time.day);
		if (m->absolute && !icaltime_is_utc(time)
			&& !fZones.to_utc(tzid, m->seconds, fBudget, &m->seconds)) {
			note(line,
				"no time zone " + shortened(tzid) + " is known; its times are taken as local");
			m->absolute = false;
		}
		return !fBudget->spent();
	}

	// The date of an instant in the local time zone.
	static long local_day(const moment& m, ics_seconds seconds)
	{
		if (!m.absolute)
			return floor_day(seconds);
		const time_t value = time_t(seconds);
		struct tm fields;
		if (localtime_r(&value, &fields) == nullptr)
			return floor_day(seconds);
		return day_number(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
	}

	// Hands on the days that an occurrence of the event starting at m and lasting length
	// seconds covers.
	void mark(const ics_event& event, const moment& m, ics_seconds length)
	{
		long first = m.isDate ? m.wallDay : local_day(m, m.seconds);
		long last = m.isDate ? first + std::max<long>(1, length / 86400) - 1
							 : local_day(m, m.seconds + std::max<ics_seconds>(length, 1) - 1);
		first = std::max(first, fFirstDay);
		last = std::min(last, fLastDay);
		for (long day = first; day <= last; day++)
			fCovered(day, event);
	}

	bool add_zone(const component& c)
	{
		const content_line* tzid = c.first("TZID");
		std::string reason = c.fault;
		int line = c.faultLine;
		std::vector<ics_zones::observance> parts;
		for (const component& part : c.parts) {
			if (!reason.empty())
				break;
			ics_zones::observance o;
			bool hasFrom = false;
			bool hasTo = false;
			for (const auto& [property, number] : part.properties) {
				line = number;
				if (property.name == "DTSTART" && !read_time(property.value, &o.start))
					reason = "DTSTART is not a date and time";
				else if (property.name == "TZOFFSETFROM"
					&& !(hasFrom = read_offset(property.value, &o.from)))
					reason = "TZOFFSETFROM is not an offset";
				else if (property.name == "TZOFFSETTO"
					&& !(hasTo = read_offset(property.value, &o.to)))
					reason = "TZOFFSETTO is not an offset";
				else if (property.name == "RRULE") {
					icalrecurrencetype rule;
					if (!read_rule(property.value, &rule, &reason))
						break;
					if (rule.freq != ICAL_YEARLY_RECURRENCE)
						reason = "the rule of a time zone is not yearly";
					o.rules.push_back(rule);
				} else if (property.name == "RDATE") {
					for (size_t at = 0; at != std::string::npos && reason.empty();) {
						const size_t comma = property.value.find(',', at);
						icaltimetype date;
						if (!read_time(property.value.substr(at, comma - at), &date))
							reason = "RDATE is not a list of dates";
						o.dates.push_back(date);
						at = comma == std::string::npos ? comma : comma + 1;
					}
				}
				if (!reason.empty())
					break;
			}
			if (reason.empty() && (icaltime_is_null_time(o.start) || !hasFrom || !hasTo)) {
				line = part.line;
				reason = "BEGIN:" + part.name + " lacks DTSTART, TZOFFSETFROM or TZOFFSETTO";
			}
			o.start.is_date = 0;
			parts.push_back(o);
		}
		if (reason.empty() && (tzid == nullptr || tzid->value.empty() || parts.empty())) {
			line = c.line;
			reason = "a time zone without TZID or without parts";
		}
		if (!reason.empty()) {
			note(line, reason + "; the time zone is left out");
			return true;
		}
		if (!fZones.add(tzid->value, parts, fBudget))
			return out_of_budget(c.line);
		return true;
	}

	static bool read_offset(const std::string& value, int* offset)
	{
		if ((value.size() != 5 && value.size() != 7) || (value[0] != '+' && value[0] != '-')
			|| value.find_first_not_of("0123456789", 1) != std::string::npos)
			return false;
		const int hours = std::stoi(value.substr(1, 2));
		const int minutes = std::stoi(value.substr(3, 2));
		const int seconds = value.size() == 7 ? std::stoi(value.substr(5, 2)) : 0;
		if (hours > 23 || minutes > 59 || seconds > 59)
			return false;
		*offset = (value[0] == '-' ? -1 : 1) * (hours * 3600 + minutes * 60 + seconds);
		return true;
	}

	// Marks the days of an event: of all its occurrences, or of the one it replaces.
	bool add_event(const component& c)
	{
		const content_line* summary = c.first("SUMMARY");
		const ics_event event{c.line, summary != nullptr ? &summary->value : nullptr};
		if (!c.fault.empty()) {
			note(c.faultLine, c.fault + "; the event is left out");
			return true;
		}
		const content_line* startLine = c.first("DTSTART");
		const content_line* uid = c.first("UID");
		const content_line* status = c.first("STATUS");
		const content_line* replaced = c.first("RECURRENCE-ID");
		if (startLine == nullptr)
			return true; // an event without a start has no day to mark

		std::string reason;
		int line = c.line;
		icaltimetype start;
		moment first;
		ics_seconds length = 0;
		moment_set excluded;
		std::vector<moment> dates;
		std::vector<icalrecurrencetype> rules;
		for (const auto& [property, number] : c.properties) {
			line = number;
			icaltimetype time;
			if (property.name == "DTSTART") {
				if (!read_time(property.value, &start))
					reason = "DTSTART is not a date or a date and time";
				else if (!moment_of(start, property.tzid, number, &first))
					return out_of_budget(number);
			} else if (property.name == "RRULE") {
				icalrecurrencetype rule;
				if (read_rule(property.value, &rule, &reason))
					rules.push_back(rule);
			} else if (property.name == "RDATE" || property.name == "EXDATE") {
				for (size_t at = 0; at != std::string::npos && reason.empty();) {
					const size_t comma = property.value.find(',', at);
					moment m;
					if (!read_time(property.value.substr(at, comma - at), &time))
						reason = property.name + " is not a list of dates";
					else if (!moment_of(time, property.tzid, number, &m))
						return out_of_budget(number);
					else if (property.name == "RDATE")
						dates.push_back(m);
					else
						excluded.add(m);
					at = comma == std::string::npos ? comma : comma + 1;
				}
			}
			if (!reason.empty())
				break;
		}
		if (reason.empty())
			reason = event_length(c, start, first, &line, &length);
		if (!reason.empty()) {
			note(line, reason + "; the event is left out");
			return true;
		}

		const bool cancelled =
			status != nullptr && strcasecmp(status->value.c_str(), "CANCELLED") == 0;
		if (replaced != nullptr) {
			// This event stands for one occurrence of the event with its UID.
			icaltimetype time;
			moment m;
			if (!read_time(replaced->value, &time)) {
				note(line, "RECURRENCE-ID is not a date or a date and time; the event is left out");
				return true;
			}
			if (!moment_of(time, replaced->tzid, line, &m))
				return out_of_budget(line);
			if (uid != nullptr)
				fReplaced[uid->value].add(m);
			if (!cancelled)
				mark(event, first, length);
			return true;
		}
		if (cancelled)
			return true;

		const moment_set none;
		const moment_set& replacedOnes =
			uid != nullptr && fReplaced.count(uid->value) > 0 ? fReplaced.at(uid->value) : none;
		auto take = [&](const moment& m) {
			if (!excluded.has(m) && !replacedOnes.has(m))
				mark(event, m, length);
		};
		take(first);
		for (const moment& date : dates)
			take(date);
		const std::string tzid = startLine->tzid;
		for (const icalrecurrencetype& rule : rules) {
			if (rule.freq < ICAL_DAILY_RECURRENCE)
				mark_sub_daily(event, rule, first, tzid, length);
			else if (!follow(rule, start, first, tzid, length, take))
				return out_of_budget(c.line);
		}
		return true;
	}

	// A rule that repeats every day, several times, covers the days from its start to the
	// end of its last occurrence.
	void mark_sub_daily(const ics_event& event, const icalrecurrencetype& rule, const moment& first,
		const std::string& tzid, ics_seconds length)
	{
		const ics_seconds step = sub_daily_step(rule);
		ics_seconds last = ics_seconds(fLastDay + 2) * 86400;
		if (rule.count > 0)
			last = std::min(last, first.seconds + (rule.count - 1) * step);
		if (!icaltime_is_null_time(rule.until)) {
			ics_seconds until = seconds_of(rule.until);
			if (first.absolute && !icaltime_is_utc(rule.until) && !tzid.empty())
				fZones.to_utc(tzid, until, fBudget, &until);
			last = std::min(last, until);
		}
		// The last occurrence covers at least its own start, like every other.
		if (last >= first.seconds)
			mark(event, first, last - first.seconds + std::max<ics_seconds>(length, 1));
	}

	// Why the event's length cannot be read, or "" with length set: in seconds, whole days
	// for an all-day event.
	std::string event_length(const component& c, const icaltimetype& start, const moment& first,
		int* line, ics_seconds* length)
	{
		*length = start.is_date ? 86400 : 0;
		for (const auto& [property, number] : c.properties) {
			*line = number;
			if (property.name == "DTEND") {
				icaltimetype end;
				moment m;
				if (!read_time(property.value, &end))
					return "DTEND is not a date or a date and time";
				if (!moment_of(end, property.tzid, number, &m))
					return "the time zones take too long to follow";
				*length = start.is_date ? (m.wallDay - first.wallDay) * ics_seconds(86400)
										: m.seconds - first.seconds;
			} else if (property.name == "DURATION") {
				const icaldurationtype duration =
					icaldurationtype_from_string(property.value.c_str());
				if (icaldurationtype_is_bad_duration(duration) || duration.is_neg)
					return "DURATION is not a length of time";
				*length = ics_seconds(duration.weeks) * 7 * 86400
					+ ics_seconds(duration.days) * 86400 + duration.hours * 3600
					+ duration.minutes * 60 + duration.seconds;
				if (start.is_date)
					*length = *length / 86400 * 86400;
			}
		}
		*length = std::max<ics_seconds>(*length, start.is_date ? 86400 : 0);
		return std::string();
	}

	// Follows a rule through the occurrences whose days may fall in the year: those that
	// start from the length of the event, and two days for the time zones, before it.
	bool follow(const icalrecurrencetype& given, const icaltimetype& start, const moment& first,
		const std::string& tzid, ics_seconds length, const std::function<void(const moment&)>& take)
	{
		// The last occurrence is named in UTC when the start has a zone; it is compared with
		// the occurrences on the wall clock of the start's zone.
		const icalrecurrencetype* rule = &given;
		icalrecurrencetype converted;
		if (!icaltime_is_null_time(given.until)) {
			ics_seconds until = seconds_of(given.until);
			if (icaltime_is_utc(given.until) && !tzid.empty() && !start.is_date)
				fZones.to_wall(tzid, until, fBudget, &until);
			else if (given.until.is_date && !start.is_date)
				until += 86400 - 1; // the whole of its last day
			converted = given;
			converted.until = time_of(until, start.is_date);
			rule = &converted;
		}
		const ics_seconds margin = 2 * 86400 + length;
		icaltimetype from = time_of(ics_seconds(fFirstDay) * 86400 - margin, start.is_date);
		icaltimetype to = time_of(ics_seconds(fLastDay + 1) * 86400 - 1 + 2 * 86400, start.is_date);
		icaltimetype wallStart = start;
		wallStart.zone = nullptr;
		return follow_rule(*rule, wallStart, from, to, fBudget, [&](const icaltimetype& wall) {
			moment m;
			if (moment_of(wall, first.absolute && !icaltime_is_utc(start) ? tzid : std::string(), 0,
					&m)) {
				if (first.absolute && icaltime_is_utc(start))
					m.absolute = true;
				take(m);
			}
		});
	}

	std::string fPath;
	long fFirstDay;
	long fLastDay;
	ics_budget* fBudget;
	const ics_day_visitor& fCovered;
	std::vector<std::string>* fNotes;
	size_t fNoteCount = 0;
	ics_zones fZones;
	std::vector<component> fReplacing;
	std::map<std::string, moment_set> fReplaced;
	int fFaultLine = 0;
	std::string fFault;
};

} // namespace

bool read_ics_days(const std::string& path, int year, ics_budget* budget,
	const ics_day_visitor& covered, std::vector<std::string>* notes, std::string* error)
{
	std::string text;
	std::string reason;
	if (!read_whole_file(path, std::min(budget->bytes, kMaxFileSize), &text, &reason)) {
		*error = printable_text(path + ": " + reason);
		return false;
	}
	budget->bytes -= text.size();

	// Faults in a file are reported to the caller, never by ending the program.
	icalerror_set_errors_are_fatal(0);
	std::vector<std::string> fileNotes;
	ics_reader reader(path, year, budget, covered, &fileNotes);
	if (!reader.read(text)) {
		std::string where = path;
		if (reader.fault_line() > 0)
			where += ":" + std::to_string(reader.fault_line());
		*error = printable_text(where + ": " + reader.fault());
		return false;
	}
	notes->insert(notes->end(), fileNotes.begin(), fileNotes.end());
	return true;
}
