#include "holiday_engine.h"

#include <algorithm>
#include <memory>
#include <optional>

#include "TimeZone.h"
#include "astronomy.h"
#include "civil_date.h"
#include "easter.h"
#include "korean_lunar.h"

namespace {

const int kSaturday = 6;
const int kSunday = 0;

int weekday_of_day(long day)
{
	// 1 January 1970 was a Thursday.
	return int(((day + 4) % 7 + 7) % 7);
}

bool holds_in(const holiday_rule& rule, const std::string& region)
{
	if (rule.regions.empty())
		return true;
	const bool listed =
		std::find(rule.regions.begin(), rule.regions.end(), region) != rule.regions.end();
	return rule.except ? !listed : (!region.empty() && listed);
}

class year_computation {
public:
	explicit year_computation(const holiday_rules& rules) : fZone(rules.zone.c_str()) {}

	std::optional<long> date_in(const rule_date& date, int year)
	{
		std::optional<long> day = base_date(date, year);
		if (day)
			*day += date.offset;
		return day;
	}

private:
	long zone_day(double moment)
	{
		return day_at_offset(moment, fZone.StandardOffsetAt(unix_seconds(moment)));
	}

	std::optional<long> base_date(const rule_date& date, int year)
	{
		switch (date.kind) {
			case rule_date::FIXED:
				if (!is_valid_date(year, date.month, date.day))
					return std::nullopt;
				return day_number(year, date.month, date.day);
			case rule_date::ONCE:
				if (year != date.year)
					return std::nullopt;
				return day_number(year, date.month, date.day);
			case rule_date::NTH: {
				const int day = nth_weekday(year, date.month, date.weekday, date.n);
				if (day > days_in_month(year, date.month))
					return std::nullopt;
				return day_number(year, date.month, day);
			}
			case rule_date::LAST: {
				const long last = day_number(year, date.month, days_in_month(year, date.month));
				return last - (weekday_of_day(last) - date.weekday + 7) % 7;
			}
			case rule_date::AFTER: {
				const long from = day_number(year, date.month, date.day);
				return from + (date.weekday - weekday_of_day(from) + 7) % 7;
			}
			case rule_date::BEFORE: {
				const long from = day_number(year, date.month, date.day);
				return from - (weekday_of_day(from) - date.weekday + 7) % 7;
			}
			case rule_date::EASTER:
				return western_easter(year);
			case rule_date::ORTHODOX:
				return orthodox_easter(year);
			case rule_date::MARCH_EQUINOX:
				return zone_day(solar_event_moment(year, MARCH_EQUINOX));
			case rule_date::JUNE_SOLSTICE:
				return zone_day(solar_event_moment(year, JUNE_SOLSTICE));
			case rule_date::SEPTEMBER_EQUINOX:
				return zone_day(solar_event_moment(year, SEPTEMBER_EQUINOX));
			case rule_date::DECEMBER_SOLSTICE:
				return zone_day(solar_event_moment(year, DECEMBER_SOLSTICE));
			case rule_date::LUNAR: {
				if (!fLunar) {
					fLunar = std::make_unique<korean_lunar_calendar>(
						[this](long long seconds) { return fZone.StandardOffsetAt(seconds); });
				}
				long day;
				if (!fLunar->day_of(year, date.month, date.day, &day))
					return std::nullopt;
				return day;
			}
		}
		return std::nullopt;
	}

	BTimeZone fZone;
	std::unique_ptr<korean_lunar_calendar> fLunar;
};

// The holidays found so far, kept in date order, then in the order they were found.
class day_list {
public:
	std::vector<holiday_day>& entries() { return fEntries; }

	bool has(long day) const
	{
		return std::any_of(
			fEntries.begin(), fEntries.end(), [day](const holiday_day& h) { return h.day == day; });
	}

	// Of the holidays of several lines on one day, all but one clash: the one that stays
	// on it is the first whose steps hold no clash trigger, or else the first of them.
	template <typename HasClashStep>
	bool clashes(size_t index, HasClashStep has_clash_step) const
	{
		const long day = fEntries[index].day;
		bool others = false;
		std::optional<size_t> first, firstWithout;
		for (size_t i = 0; i < fEntries.size(); i++) {
			if (fEntries[i].day != day)
				continue;
			others = others || fEntries[i].rule != fEntries[index].rule;
			if (!first)
				first = i;
			if (!firstWithout && !has_clash_step(fEntries[i]))
				firstWithout = i;
		}
		return others && index != firstWithout.value_or(*first);
	}

	void sort()
	{
		std::stable_sort(fEntries.begin(), fEntries.end(),
			[](const holiday_day& a, const holiday_day& b) { return a.day < b.day; });
	}

private:
	std::vector<holiday_day> fEntries;
};

bool has_clash(const std::vector<substitute_step>& steps)
{
	return std::any_of(steps.begin(), steps.end(),
		[](const substitute_step& s) { return s.trigger == substitute_step::CLASH; });
}

// The steps that give a holiday of the line on the day its substitute: the line's own, or
// those of every default that holds on the day.
std::vector<substitute_step> observed_steps(
	const holiday_rule& rule, const holiday_rules& rules, long day)
{
	if (rule.own_substitutes)
		return rule.observe;
	std::vector<substitute_step> steps;
	for (const substitute_default& s : rules.substitutes) {
		if (s.range.holds(day))
			steps.insert(steps.end(), s.steps.begin(), s.steps.end());
	}
	return steps;
}

bool triggers_on(const std::vector<substitute_step>& steps, int weekday)
{
	return std::any_of(steps.begin(), steps.end(), [weekday](const substitute_step& s) {
		return (s.trigger == substitute_step::WEEKEND
				   && (weekday == kSaturday || weekday == kSunday))
			|| (weekday == kSaturday && s.trigger == substitute_step::SAT)
			|| (weekday == kSunday && s.trigger == substitute_step::SUN);
	});
}

// The day a step of the steps takes the holiday on day to, if one triggers.
template <typename IsHoliday>
std::optional<long> substitute_for(
	const std::vector<substitute_step>& steps, long day, bool clash, IsHoliday is_holiday)
{
	const int weekday = weekday_of_day(day);
	for (const substitute_step& step : steps) {
		const bool fires = (step.trigger == substitute_step::CLASH && clash)
			|| (step.trigger != substitute_step::CLASH && triggers_on({step}, weekday));
		if (!fires)
			continue;
		switch (step.target) {
			case substitute_step::FRI:
				return day - ((weekday + 1) % 7 + 1);
			case substitute_step::MON:
				return day + (7 - weekday) % 7 + 1;
			case substitute_step::PREV:
				return day - 1;
			case substitute_step::NEXT: {
				long next = day + 1;
				while (is_holiday(next) || triggers_on(steps, weekday_of_day(next)))
					next++;
				return next;
			}
		}
	}
	return std::nullopt;
}

} // namespace

std::vector<holiday_day> holidays_of_year(
	const holiday_rules& rules, const std::string& region, int year)
{
	if (year < rules.first_year || year > rules.last_year)
		return {};

	// The years around it too: a holiday of the year before can move or be observed into
	// this one.
	year_computation computation(rules);
	day_list found;
	for (int base = year - 1; base <= year + 1; base++) {
		for (const holiday_rule& rule : rules.rules) {
			if (!holds_in(rule, region))
				continue;
			std::optional<long> day = computation.date_in(rule.date, base);
			if (day && rule.weekdays != 0 && !(rule.weekdays & (1u << weekday_of_day(*day))))
				day = rule.has_else ? computation.date_in(rule.else_date, base) : std::nullopt;
			if (day && rule.range.holds(*day))
				found.entries().push_back({*day, &rule});
		}
	}
	found.sort();

	std::vector<holiday_day>& entries = found.entries();
	auto moves_on_clash = [](const holiday_day& h) { return has_clash(h.rule->move); };
	for (size_t i = 0; i < entries.size(); i++) {
		if (entries[i].rule->move.empty())
			continue;
		const std::optional<long> to = substitute_for(entries[i].rule->move, entries[i].day,
			found.clashes(i, moves_on_clash), [&found](long day) { return found.has(day); });
		if (to)
			entries[i].day = *to;
	}
	found.sort();

	// Substitute days, in date order; each sees those found before it.
	day_list substitutes;
	auto is_holiday = [&](long day) { return found.has(day) || substitutes.has(day); };
	auto observed_on_clash = [&rules](const holiday_day& h) {
		return has_clash(observed_steps(*h.rule, rules, h.day));
	};
	for (size_t i = 0; i < entries.size(); i++) {
		const holiday_rule& rule = *entries[i].rule;
		const std::vector<substitute_step> steps = observed_steps(rule, rules, entries[i].day);
		const bool clash = found.clashes(i, observed_on_clash) || substitutes.has(entries[i].day);
		const std::optional<long> day = substitute_for(steps, entries[i].day, clash, is_holiday);
		if (day)
			substitutes.entries().push_back({*day, &rule, true});
	}

	// Bridge days between two holidays of the rules' own.
	day_list bridges;
	for (const holiday_day& h : entries) {
		const long day = h.day + 1;
		if (is_holiday(day) || !found.has(day + 1) || bridges.has(day))
			continue;
		for (const bridge_default& b : rules.bridges) {
			if (b.range.holds(day) && !(b.except_weekdays & (1u << weekday_of_day(day)))) {
				bridges.entries().push_back({day, nullptr, true});
				break;
			}
		}
	}

	std::vector<holiday_day> days;
	const long first = day_number(year, 1, 1), last = day_number(year, 12, 31);
	for (day_list* list : {&found, &substitutes, &bridges}) {
		for (const holiday_day& h : list->entries()) {
			if (h.day >= first && h.day <= last)
				days.push_back(h);
		}
	}
	std::stable_sort(days.begin(), days.end(),
		[](const holiday_day& a, const holiday_day& b) { return a.day < b.day; });
	return days;
}
