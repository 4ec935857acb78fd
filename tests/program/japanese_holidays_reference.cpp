#include "japanese_holidays_reference.h"

#include "civil_date.h"

namespace {

const int kSunday = 0;
const int kMonday = 1;

// The day in March of the vernal equinox and in September of the autumnal one, in Japanese
// time, by the usual approximation formula, which holds from 1900 to 2099. The law names
// the equinox days without fixing their dates. Computed in millionths of a day so that no
// rounding creeps in; the divisions by 4 go toward zero, as the formula's integer part does.
int vernal_equinox(int year)
{
	const long base = year <= 1979 ? 20835700 : 20843100;
	const long leaps = year <= 1979 ? (year - 1983) / 4 : (year - 1980) / 4;
	return int((base + 242194L * (year - 1980) - 1000000L * leaps) / 1000000);
}

int autumnal_equinox(int year)
{
	const long base = year <= 1979 ? 23258800 : 23248800;
	const long leaps = year <= 1979 ? (year - 1983) / 4 : (year - 1980) / 4;
	return int((base + 242194L * (year - 1980) - 1000000L * leaps) / 1000000);
}

class year_builder {
public:
	explicit year_builder(int year) : fYear(year) {}

	void mark(int month, int day) { fDays.set(day_of_year(fYear, month, day) - 1); }
	void mark_monday(int month, int n) { mark(month, nth_weekday(fYear, month, kMonday, n)); }
	const year_days& days() const { return fDays; }

private:
	int fYear;
	year_days fDays;
};

// The national holidays proper: the days the law names, with the dates it gave them in the
// year, and the days that special laws counted as national holidays.
year_days named_holidays(int year)
{
	year_builder b(year);

	b.mark(1, 1); // New Year's Day
	// Coming of Age Day: 15 January, the second Monday from 2000.
	if (year >= 2000)
		b.mark_monday(1, 2);
	else
		b.mark(1, 15);
	if (year >= 1967)
		b.mark(2, 11); // National Foundation Day
	if (year >= 2020)
		b.mark(2, 23); // The Emperor's Birthday of the present reign
	b.mark(3, vernal_equinox(year));
	// 29 April: the Emperor's Birthday until 1988, Greenery Day from 1989, Showa Day from
	// 2007.
	b.mark(4, 29);
	b.mark(5, 3); // Constitution Memorial Day
	if (year >= 2007)
		b.mark(5, 4); // Greenery Day, moved here from 29 April
	b.mark(5, 5);     // Children's Day

	// Marine Day: 20 July from 1996, the third Monday from 2003; moved for the Olympic
	// Games of 2020, held in 2021, in both years.
	if (year == 2020)
		b.mark(7, 23);
	else if (year == 2021)
		b.mark(7, 22);
	else if (year >= 2003)
		b.mark_monday(7, 3);
	else if (year >= 1996)
		b.mark(7, 20);

	// Mountain Day: 11 August from 2016, moved in 2020 and 2021 like Marine Day.
	if (year == 2020)
		b.mark(8, 10);
	else if (year == 2021)
		b.mark(8, 8);
	else if (year >= 2016)
		b.mark(8, 11);

	// Respect for the Aged Day: 15 September from 1966, the third Monday from 2003.
	if (year >= 2003)
		b.mark_monday(9, 3);
	else if (year >= 1966)
		b.mark(9, 15);
	b.mark(9, autumnal_equinox(year));

	// Sports Day (Health and Sports Day until 2019): 10 October from 1966, the second Monday
	// from 2000; moved into July in 2020 and 2021.
	if (year == 2020)
		b.mark(7, 24);
	else if (year == 2021)
		b.mark(7, 23);
	else if (year >= 2000)
		b.mark_monday(10, 2);
	else if (year >= 1966)
		b.mark(10, 10);

	b.mark(11, 3);  // Culture Day
	b.mark(11, 23); // Labour Thanksgiving Day
	if (year >= 1989 && year <= 2018)
		b.mark(12, 23); // The Emperor's Birthday of the Heisei reign

	// The enthronement of 2019: the day of accession and the day of the ceremony were
	// counted as national holidays for that year. 30 April and 2 May of 2019 follow from
	// them as citizens' holidays.
	if (year == 2019) {
		b.mark(5, 1);
		b.mark(10, 22);
	}
	return b.days();
}

} // namespace

year_days japanese_holidays(int year)
{
	if (year < 1949 || year > 2099)
		return year_days();

	const year_days named = named_holidays(year);
	year_days days = named;
	const int length = is_leap_year(year) ? 366 : 365;
	const int firstWeekday = weekday_of(year, 1, 1);
	auto weekday = [firstWeekday](int index) { return (firstWeekday + index) % 7; };

	// Substitute holidays, from 12 April 1973: a national holiday on a Sunday gives the
	// Monday after it off; from 2007, the first day after it that is not itself a national
	// holiday. 31 December is never a holiday, so no substitute falls into the next year.
	const int firstSubstitutable = year == 1973 ? day_of_year(1973, 4, 12) - 1 : 0;
	if (year >= 1973) {
		for (int i = firstSubstitutable; i < length; i++) {
			if (!named[i] || weekday(i) != kSunday)
				continue;
			int next = i + 1;
			if (year >= 2007) {
				while (next < length && named[next])
					next++;
			}
			if (next < length)
				days.set(next);
		}
	}

	// Citizens' holidays, from the end of 1985: a day between two national holidays. Until
	// 2006 a Sunday or a substitute holiday was left as it was; from 2007 any day that is
	// not a national holiday itself.
	if (year >= 1986) {
		for (int i = 1; i + 1 < length; i++) {
			if (named[i] || !named[i - 1] || !named[i + 1])
				continue;
			if (year < 2007 && (weekday(i) == kSunday || days[i]))
				continue;
			days.set(i);
		}
	}

	// Days that special laws gave off once: a crown prince's wedding (1959 and 1993), the
	// funeral of the Showa Emperor (1989) and the enthronement ceremony of 1990.
	year_builder once(year);
	if (year == 1959)
		once.mark(4, 10);
	else if (year == 1989)
		once.mark(2, 24);
	else if (year == 1990)
		once.mark(11, 12);
	else if (year == 1993)
		once.mark(6, 9);
	return days | once.days();
}
