#include "korean_lunar.h"

#include "astronomy.h"

korean_lunar_calendar::korean_lunar_calendar(std::function<int(long long)> offset)
	: fOffset(std::move(offset))
{
}

long korean_lunar_calendar::local_day(double moment) const
{
	return day_at_offset(moment, fOffset(unix_seconds(moment)));
}

const std::vector<korean_lunar_calendar::month>& korean_lunar_calendar::months_between_solstices(
	int year)
{
	auto found = fSpans.find(year);
	if (found != fSpans.end())
		return found->second;

	// The new moon that begins the month of each solstice: the last one on or before its day.
	auto eleventh_month = [this](double solstice) {
		const long day = local_day(solstice);
		long k = new_moon_before(solstice);
		while (local_day(new_moon_moment(k + 1)) <= day)
			k++;
		return k;
	};
	const double lastSolstice = solar_event_moment(year - 1, DECEMBER_SOLSTICE);
	const long first = eleventh_month(lastSolstice);
	const long end = eleventh_month(solar_event_moment(year, DECEMBER_SOLSTICE));

	std::vector<long> starts;
	for (long k = first; k <= end; k++)
		starts.push_back(local_day(new_moon_moment(k)));

	// With 13 months, the first without a principal term is the leap month.
	int leapIndex = -1;
	if (end - first == 13) {
		std::vector<long> termDays;
		for (int j = 1; j <= 11; j++)
			termDays.push_back(
				local_day(solar_longitude_moment(lastSolstice + 30.44 * j, 270 + 30 * j)));
		for (size_t i = 1; i + 1 < starts.size() && leapIndex < 0; i++) {
			bool holdsTerm = false;
			for (long termDay : termDays)
				holdsTerm = holdsTerm || (termDay >= starts[i] && termDay < starts[i + 1]);
			if (!holdsTerm)
				leapIndex = int(i);
		}
	}

	std::vector<month> months;
	int number = 11;
	for (size_t i = 0; i < starts.size(); i++) {
		const bool leap = int(i) == leapIndex;
		if (i > 0 && !leap)
			number = number % 12 + 1;
		months.push_back({starts[i], number, leap});
	}
	return fSpans[year] = months;
}

bool korean_lunar_calendar::day_of(int lunarYear, int month, int day, long* number)
{
	// The 11th and 12th months of a lunar year lie after its December solstice.
	const std::vector<korean_lunar_calendar::month>& span =
		months_between_solstices(month >= 11 ? lunarYear + 1 : lunarYear);
	for (size_t i = 0; i + 1 < span.size(); i++) {
		if (span[i].number != month || span[i].leap)
			continue;
		if (day > span[i + 1].first - span[i].first)
			return false;
		*number = span[i].first + day - 1;
		return true;
	}
	return false;
}
