#include "ics_rules.h"

#include "civil_date.h"
#include "ics_zones.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

int count_of(const short* values, int size)
{
	int count = 0;
	while (count < size && values[count] != ICAL_RECURRENCE_ARRAY_MAX)
		count++;
	return count;
}

// Whether the rule has none of the BY parts beside BYMONTH and BYMONTHDAY.
bool no_parts_but_month(const icalrecurrencetype& rule)
{
	return count_of(rule.by_day, ICAL_BY_DAY_SIZE) == 0
		&& count_of(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) == 0
		&& count_of(rule.by_week_no, ICAL_BY_WEEKNO_SIZE) == 0
		&& count_of(rule.by_set_pos, ICAL_BY_SETPOS_SIZE) == 0
		&& count_of(rule.by_hour, ICAL_BY_HOUR_SIZE) == 0
		&& count_of(rule.by_minute, ICAL_BY_MINUTE_SIZE) == 0
		&& count_of(rule.by_second, ICAL_BY_SECOND_SIZE) == 0;
}

// The number written after "NAME=" in the rule (in capitals): -1 when the part is missing,
// 0 when it is not a number, LONG_MAX when it has more digits than any limit here.
long number_of(const std::string& rule, const char* name)
{
	const size_t at = (";" + rule).find(";" + std::string(name) + "=");
	if (at == std::string::npos)
		return -1;
	const size_t digits = at + std::strlen(name) + 1;
	const size_t end = rule.find_first_not_of("0123456789", digits);
	const size_t length = (end == std::string::npos ? rule.size() : end) - digits;
	if (length > 12)
		return LONG_MAX;
	return std::strtol(rule.c_str() + digits, nullptr, 10);
}

// Why a rule of these parts may never occur, or occur so rarely that the library would
// search centuries for it: every part combination that is not listed here as sure to give
// an occurrence in every few periods is refused. Real calendars use these parts only in the
// forms allowed.
std::string doubtful_parts(const icalrecurrencetype& rule)
{
	const int months = count_of(rule.by_month, ICAL_BY_MONTH_SIZE);
	const int monthDays = count_of(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
	const int yearDays = count_of(rule.by_year_day, ICAL_BY_YEARDAY_SIZE);
	const int weeks = count_of(rule.by_week_no, ICAL_BY_WEEKNO_SIZE);
	const int positions = count_of(rule.by_set_pos, ICAL_BY_SETPOS_SIZE);
	const int days = count_of(rule.by_day, ICAL_BY_DAY_SIZE);
	const bool monthly = rule.freq == ICAL_MONTHLY_RECURRENCE;
	const bool yearly = rule.freq == ICAL_YEARLY_RECURRENCE;

	int longestMonth = months == 0 ? 31 : 0;
	for (int i = 0; i < months; i++) {
		const int month = rule.by_month[i];
		if (month < 1 || month > 12)
			return "BYMONTH names no month";
		longestMonth = std::max(longestMonth,
			month == 2                                                  ? 29
				: month == 4 || month == 6 || month == 9 || month == 11 ? 30
																		: 31);
	}
	for (int i = 0; i < monthDays; i++) {
		if (std::abs(rule.by_month_day[i]) > longestMonth)
			return "BYMONTHDAY gives no day of those months";
	}
	bool dayPositions = false;
	for (int i = 0; i < days; i++) {
		const int position = std::abs(icalrecurrencetype_day_position(rule.by_day[i]));
		dayPositions = dayPositions || position != 0;
		if (position > (yearly && months == 0 ? 53 : 5))
			return "BYDAY numbers a weekday that a period does not have";
		if (position != 0 && !monthly && !yearly)
			return "BYDAY numbers a weekday in a rule that is neither monthly nor yearly";
	}
	if (dayPositions && (monthDays > 0 || yearDays > 0 || weeks > 0))
		return "a numbered BYDAY together with BYMONTHDAY, BYYEARDAY or BYWEEKNO";
	for (int i = 0; i < yearDays; i++) {
		if (std::abs(rule.by_year_day[i]) > 366)
			return "BYYEARDAY gives no day of a year";
	}
	if (yearDays > 0 && (months > 0 || monthDays > 0 || weeks > 0))
		return "BYYEARDAY together with BYMONTH, BYMONTHDAY or BYWEEKNO";
	for (int i = 0; i < weeks; i++) {
		if (!yearly || rule.by_week_no[i] == 0 || std::abs(rule.by_week_no[i]) > 52)
			return "BYWEEKNO other than 1 to 52 of a yearly rule";
	}
	if (weeks > 0 && (months > 0 || monthDays > 0))
		return "BYWEEKNO together with BYMONTH or BYMONTHDAY";
	if (positions > 0) {
		// Each period surely holds this many of the days chosen by BYDAY.
		const int sure = days
			* (rule.freq == ICAL_WEEKLY_RECURRENCE ? 1
					: monthly                      ? 4
					: months > 0                   ? 4 * months
												   : 52);
		for (int i = 0; i < positions; i++) {
			const int position = std::abs(rule.by_set_pos[i]);
			if (dayPositions || monthDays > 0 || yearDays > 0 || weeks > 0 || position == 0
				|| position > sure)
				return "BYSETPOS may choose a day that a period does not have";
		}
	}
	return std::string();
}

// Whether every period of the rule (every day of a daily rule, week of a weekly one, ...)
// holds an occurrence: when it chooses days only in ways that every period has.
bool occurs_every_period(const icalrecurrencetype& rule)
{
	const bool monthly = rule.freq == ICAL_MONTHLY_RECURRENCE;
	const bool yearly = rule.freq == ICAL_YEARLY_RECURRENCE;
	if (count_of(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) > 0
		|| count_of(rule.by_week_no, ICAL_BY_WEEKNO_SIZE) > 0
		|| count_of(rule.by_set_pos, ICAL_BY_SETPOS_SIZE) > 0
		|| (count_of(rule.by_month, ICAL_BY_MONTH_SIZE) > 0 && !yearly))
		return false;
	for (int i = 0; i < count_of(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE); i++) {
		if (!(monthly || yearly) || std::abs(rule.by_month_day[i]) > 28)
			return false;
	}
	for (int i = 0; i < count_of(rule.by_day, ICAL_BY_DAY_SIZE); i++) {
		const int position = std::abs(icalrecurrencetype_day_position(rule.by_day[i]));
		if (rule.freq == ICAL_DAILY_RECURRENCE || position > 4
			|| (position == 0 && !(monthly || rule.freq == ICAL_WEEKLY_RECURRENCE)))
			return false;
	}
	return true;
}

// Whether the rule gives its start's date every INTERVAL years and nothing else, as a
// birthday does; such a rule is followed here, for the library takes a tenth of a
// millisecond or more for each.
bool is_plain_yearly(const icalrecurrencetype& rule, const icaltimetype& start)
{
	const int months = count_of(rule.by_month, ICAL_BY_MONTH_SIZE);
	const int monthDays = count_of(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
	return rule.freq == ICAL_YEARLY_RECURRENCE && months <= 1 && monthDays <= 1
		&& (months == 0 || rule.by_month[0] == start.month)
		&& (monthDays == 0 || rule.by_month_day[0] == start.day) && no_parts_but_month(rule)
		&& !(rule.count > 0 && start.month == 2 && start.day == 29);
}

} // namespace

bool read_rule(const std::string& value, icalrecurrencetype* rule, std::string* reason)
{
	// The library holds COUNT in an int and INTERVAL in a short, and wraps larger values.
	std::string upper = value;
	for (char& c : upper)
		c = char(toupper(static_cast<unsigned char>(c)));
	const long count = number_of(upper, "COUNT");
	const long interval = number_of(upper, "INTERVAL");
	if (count > INT_MAX) {
		*reason = "COUNT is larger than " + std::to_string(INT_MAX);
		return false;
	}
	if (interval > SHRT_MAX) {
		*reason = "INTERVAL is larger than " + std::to_string(SHRT_MAX);
		return false;
	}
	if (number_of(upper, "RSCALE") != -1) {
		*reason = "a rule of another calendar than the Gregorian (RSCALE)";
		return false;
	}
	*rule = icalrecurrencetype_from_string(value.c_str());
	if (rule->freq == ICAL_NO_RECURRENCE) {
		*reason = "not a recurrence rule";
		return false;
	}
	if (rule->interval < 1) {
		*reason = "INTERVAL is not a positive number";
		return false;
	}
	if (rule->freq < ICAL_DAILY_RECURRENCE) {
		const long step = sub_daily_step(*rule);
		if (step == 0 || step > 86400)
			*reason = "the event repeats more often than daily, but not every day";
		return reason->empty();
	}
	*reason = doubtful_parts(*rule);
	return reason->empty();
}

long sub_daily_step(const icalrecurrencetype& rule)
{
	const long unit = rule.freq == ICAL_SECONDLY_RECURRENCE ? 1
		: rule.freq == ICAL_MINUTELY_RECURRENCE             ? 60
		: rule.freq == ICAL_HOURLY_RECURRENCE               ? 3600
															: 0;
	const bool plain = count_of(rule.by_month, ICAL_BY_MONTH_SIZE) == 0
		&& count_of(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE) == 0 && no_parts_but_month(rule);
	return plain ? unit * rule.interval : 0;
}

bool follow_rule(const icalrecurrencetype& rule, const icaltimetype& start,
	const icaltimetype& first, const icaltimetype& last, ics_budget* budget,
	const std::function<void(const icaltimetype&)>& take)
{
	if (icaltime_compare(start, last) > 0)
		return true;
	if (!icaltime_is_null_time(rule.until) && icaltime_compare(rule.until, first) < 0)
		return true;
	// A counted series that surely ended before first costs nothing.
	if (rule.count > 0 && occurs_every_period(rule)) {
		const double period = rule.freq == ICAL_DAILY_RECURRENCE ? 1
			: rule.freq == ICAL_WEEKLY_RECURRENCE                ? 7
			: rule.freq == ICAL_MONTHLY_RECURRENCE               ? 31
																 : 366;
		const double lastDay =
			double(seconds_of(start) / 86400) + period * (double(rule.count) * rule.interval + 1);
		if (lastDay < double(seconds_of(first) / 86400))
			return true;
	}
	const icaltimetype& until =
		icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, last) > 0 ? last
																					: rule.until;

	if (is_plain_yearly(rule, start)) {
		for (int year = std::max(start.year, first.year); year <= last.year; year++) {
			budget->work -= ics_budget::kPlainWork;
			const int index = year - start.year;
			if (index % rule.interval != 0)
				continue;
			if (rule.count > 0 && index / rule.interval >= rule.count)
				break;
			icaltimetype date = start;
			date.year = year;
			if (!is_valid_date(date.year, date.month, date.day)) // 29 February
				continue;
			if (icaltime_compare(date, until) > 0)
				break;
			if (icaltime_compare(date, first) >= 0)
				take(date);
		}
		return !budget->spent();
	}

	budget->work -= ics_budget::kRuleWork;
	if (budget->spent())
		return false;

	const auto began = std::chrono::steady_clock::now();
	struct iterator_deleter {
		void operator()(icalrecur_iterator* iterator) const { icalrecur_iterator_free(iterator); }
	};
	// The library's rule is a copy of 2.5 kilobytes: made only here.
	icalrecurrencetype bounded = rule;
	bounded.until = until;
	std::unique_ptr<icalrecur_iterator, iterator_deleter> iterator(
		icalrecur_iterator_new(bounded, start));
	// A rule with a count is followed from its start, to know where the count ends.
	if (iterator != nullptr && rule.count == 0 && icaltime_compare(start, first) < 0
		&& !icalrecur_iterator_set_start(iterator.get(), first))
		iterator.reset();
	while (iterator != nullptr && !budget->spent()) {
		const icaltimetype next = icalrecur_iterator_next(iterator.get());
		if (icaltime_is_null_time(next) || icaltime_compare(next, last) > 0)
			break;
		budget->work -= ics_budget::kOccurrenceWork;
		if (icaltime_compare(next, first) >= 0)
			take(next);
	}
	budget->time -= std::chrono::steady_clock::now() - began;
	return !budget->spent();
}
