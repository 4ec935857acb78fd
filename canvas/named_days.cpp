#include "named_days.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "civil_date.h"
#include "holiday_catalogue.h"
#include "holiday_engine.h"
#include "holiday_set.h"
#include "ics_holidays.h"
#include "ics_reader.h"
#include "ics_text.h"

namespace {

typedef std::vector<std::pair<std::string, std::string>> translation_list;

// "de" of "de_AT", "de-AT", "de_DE.UTF-8" or "DE".
std::string language_code(const std::string& language)
{
	std::string code = language.substr(0, language.find_first_of("_-.@"));
	for (char& c : code) {
		if (c >= 'A' && c <= 'Z')
			c = char(c - 'A' + 'a');
	}
	return code;
}

const std::string& name_in(const std::string& code, const std::string& local,
	const std::string& english, const translation_list& translations)
{
	for (const auto& [language, name] : translations) {
		if (language == code)
			return name;
	}
	return code == "en" ? english : local;
}

// The name of a day that the rules give: its holiday's, or the file's name for substitute
// or bridge days.
std::string name_of(const holiday_day& h, const holiday_rules& rules, const std::string& code)
{
	const day_name* file_wide = nullptr;
	if (h.rule == nullptr)
		file_wide = &rules.bridge_name;
	else if (h.substitute && !rules.substitute_name.empty())
		file_wide = &rules.substitute_name;
	if (file_wide != nullptr) {
		if (file_wide->empty())
			return std::string();
		return name_in(
			code, file_wide->local_name, file_wide->english_name, file_wide->translations);
	}
	return name_in(code, h.rule->local_name, h.rule->english_name, h.rule->translations);
}

named_day named_day_of(long number, std::string name)
{
	int year, month, day;
	date_of_day_number(number, &year, &month, &day);
	return named_day{month, day, std::move(name)};
}

// Sorts the days by date, keeping the order of each day's entries, and drops a name that a
// day already has.
void order_and_merge(std::vector<named_day>* days)
{
	std::stable_sort(days->begin(), days->end(), [](const named_day& a, const named_day& b) {
		return std::make_pair(a.month, a.day) < std::make_pair(b.month, b.day);
	});
	std::set<std::pair<int, std::string>> seen;
	std::vector<named_day> merged;
	for (named_day& d : *days) {
		if (seen.insert({d.month * 32 + d.day, d.name}).second)
			merged.push_back(std::move(d));
	}
	*days = std::move(merged);
}

} // namespace

bool named_holidays(const std::vector<std::string>& sources, int year, const std::string& language,
	std::vector<named_day>* days, std::vector<std::string>* notes, std::string* error)
{
	const std::string code = language_code(language);
	std::vector<named_day> found;
	std::vector<std::string> sourceNotes;
	ics_budget budget;
	for (const std::string& source : sources) {
		if (source == "none")
			continue;
		if (!names_a_rule_set(source)) {
			std::vector<named_day> events;
			if (!read_ics_events(source, year, &budget, &events, &sourceNotes, error))
				return false;
			found.insert(found.end(), events.begin(), events.end());
			continue;
		}
		holiday_rules rules;
		std::string region;
		if (!load_holiday_set(source, &rules, &region, error)) {
			*error = printable_text(*error);
			return false;
		}
		for (const holiday_day& h : holidays_of_year(rules, region, year))
			found.push_back(named_day_of(h.day, name_of(h, rules, code)));
	}
	order_and_merge(&found);
	*days = std::move(found);
	notes->insert(notes->end(), sourceNotes.begin(), sourceNotes.end());
	return true;
}

bool read_ics_events(const std::string& path, int year, ics_budget* budget,
	std::vector<named_day>* events, std::vector<std::string>* notes, std::string* error)
{
	// The events of each day by the line they begin on, each once however many of its
	// occurrences cover the day: a reader hands on one event's days before the next one's.
	const long firstDay = day_number(year, 1, 1);
	std::vector<std::vector<int>> eventsOfDay(size_t(day_number(year, 12, 31) - firstDay + 1));
	std::map<int, std::string> names;
	bool crowded = false;
	const auto keep = [&](long day, const ics_event& event) {
		std::vector<int>& lines = eventsOfDay[size_t(day - firstDay)];
		if (!lines.empty() && lines.back() == event.line)
			return;
		if (lines.size() >= kMaxEventsOnOneDay) {
			crowded = true;
			return;
		}
		lines.push_back(event.line);
		if (names.count(event.line) == 0) {
			names[event.line] =
				event.summary != nullptr ? ics_text_line(*event.summary, kMaxEventName) : "";
		}
	};
	std::vector<std::string> fileNotes;
	if (!read_ics_days(path, year, budget, keep, &fileNotes, error))
		return false;
	if (crowded) {
		fileNotes.push_back(printable_text(path + ": more than "
			+ std::to_string(kMaxEventsOnOneDay) + " events on one day; the others are left out"));
	}

	std::vector<named_day> found;
	for (size_t i = 0; i < eventsOfDay.size(); i++) {
		std::vector<int>& lines = eventsOfDay[i];
		std::sort(lines.begin(), lines.end());
		for (int line : lines)
			found.push_back(named_day_of(firstDay + long(i), names[line]));
	}
	order_and_merge(&found);
	*events = std::move(found);
	notes->insert(notes->end(), fileNotes.begin(), fileNotes.end());
	return true;
}
