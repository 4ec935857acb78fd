#include "astronomy.h"

#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;
const double kJ2000 = 2451545.0;
const double kUnixEpoch = 2440587.5;
const double kSynodicMonth = 29.530588861;
const double kSunDegreesPerDay = 0.98564736;

double sin_deg(double degrees)
{
	return std::sin(degrees * kPi / 180);
}

double cos_deg(double degrees)
{
	return std::cos(degrees * kPi / 180);
}

// Terrestrial Time less Universal Time, in seconds, for a moment of the year: the
// polynomials of Espenak and Meeus (NASA's Five Millennium Canon of Solar Eclipses).
double delta_t(double year)
{
	if (year < 1900 || year >= 2150) {
		const double u = (year - 1820) / 100;
		return -20 + 32 * u * u;
	}
	if (year < 1920) {
		const double t = year - 1900;
		return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
	}
	if (year < 1941) {
		const double t = year - 1920;
		return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
	}
	if (year < 1961) {
		const double t = year - 1950;
		return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
	}
	if (year < 1986) {
		const double t = year - 1975;
		return 45.45 + 1.067 * t - t * t / 260 - t * t * t / 718;
	}
	if (year < 2005) {
		const double t = year - 2000;
		return 63.86
			+ t
			* (0.3345 + t * (-0.060374 + t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
	}
	if (year < 2050) {
		const double t = year - 2000;
		return 62.92 + t * (0.32217 + t * 0.005589);
	}
	const double u = (year - 1820) / 100;
	return -20 + 32 * u * u - 0.5628 * (2150 - year);
}

double universal_time(double ephemerisMoment)
{
	const double year = 2000 + (ephemerisMoment - kJ2000) / 365.25;
	return ephemerisMoment - delta_t(year) / 86400;
}

// The periodic terms of the Sun's motion (Meeus, table 27.B): the perturbations by the
// planets and the Moon and the nutation, as a delay in units of 0.00001 day.
double solar_perturbation(double t)
{
	static const double kTerms[24][3] = {{485, 324.96, 1934.136}, {203, 337.23, 32964.467},
		{199, 342.08, 20.186}, {182, 27.85, 445267.112}, {156, 73.14, 45036.886},
		{136, 171.52, 22518.443}, {77, 222.54, 65928.934}, {74, 296.72, 3034.906},
		{70, 243.58, 9037.513}, {58, 119.81, 33718.147}, {52, 297.17, 150.678},
		{50, 21.02, 2281.226}, {45, 247.54, 29929.562}, {44, 325.15, 31555.956},
		{29, 60.93, 4443.417}, {18, 155.12, 67555.328}, {17, 288.79, 4562.452},
		{16, 198.04, 62894.029}, {14, 199.76, 31436.921}, {12, 95.39, 14577.848},
		{12, 287.11, 31931.756}, {12, 320.81, 34777.259}, {9, 227.73, 1222.114},
		{8, 15.45, 16859.074}};
	double sum = 0;
	for (const auto& term : kTerms)
		sum += term[0] * cos_deg(term[1] + term[2] * t);
	return sum;
}

// The Sun's apparent longitude in degrees at an ephemeris moment: its mean longitude and
// equation of centre (Meeus, chapter 25), less the aberration, less the periodic terms above
// turned from time into longitude.
double solar_longitude(double ephemerisMoment)
{
	const double t = (ephemerisMoment - kJ2000) / 36525;
	const double mean = 280.46646 + t * (36000.76983 + t * 0.0003032);
	const double anomaly = 357.52911 + t * (35999.05029 - t * 0.0001537);
	const double centre = (1.914602 - t * (0.004817 + t * 0.000014)) * sin_deg(anomaly)
		+ (0.019993 - t * 0.000101) * sin_deg(2 * anomaly) + 0.000289 * sin_deg(3 * anomaly);
	const double longitude =
		mean + centre - 0.00569 - 0.00001 * kSunDegreesPerDay * solar_perturbation(t);
	return std::fmod(std::fmod(longitude, 360) + 360, 360);
}

} // namespace

double solar_event_moment(int year, solar_event event)
{
	// Meeus, table 27.C: the mean moments for the years 1000 to 3000.
	static const double kMean[4][5] = {{2451623.80984, 365242.37404, 0.05169, -0.00411, -0.00057},
		{2451716.56767, 365241.62603, 0.00325, 0.00888, -0.00030},
		{2451810.21715, 365242.01767, -0.11575, 0.00337, 0.00078},
		{2451900.05952, 365242.74049, -0.06223, -0.00823, 0.00032}};
	const double* c = kMean[event];
	const double y = (year - 2000) / 1000.0;
	const double mean = c[0] + y * (c[1] + y * (c[2] + y * (c[3] + y * c[4])));
	const double t = (mean - kJ2000) / 36525;
	const double w = 35999.373 * t - 2.47;
	const double speed = 1 + 0.0334 * cos_deg(w) + 0.0007 * cos_deg(2 * w);
	return universal_time(mean + 0.00001 * solar_perturbation(t) / speed);
}

double solar_longitude_moment(double near, double degrees)
{
	double moment = near;
	for (int i = 0; i < 8; i++) {
		double behind = std::fmod(degrees - solar_longitude(moment), 360);
		if (behind > 180)
			behind -= 360;
		else if (behind < -180)
			behind += 360;
		moment += behind / kSunDegreesPerDay;
		if (std::fabs(behind) < 1e-7)
			break;
	}
	return universal_time(moment);
}

double new_moon_moment(long k)
{
	const double t = k / 1236.85;
	const double t2 = t * t;
	double moment = 2451550.09766 + kSynodicMonth * k
		+ t2 * (0.00015437 + t * (-0.000000150 + t * 0.00000000073));
	const double e = 1 - t * (0.002516 + t * 0.0000074);
	const double m = 2.5534 + 29.10535670 * k - t2 * (0.0000014 + t * 0.00000011);
	const double mm =
		201.5643 + 385.81693528 * k + t2 * (0.0107582 + t * (0.00001238 - t * 0.000000058));
	const double f =
		160.7108 + 390.67050284 * k - t2 * (0.0016118 + t * (0.00000227 - t * 0.000000011));
	const double node = 124.7746 - 1.56375588 * k + t2 * (0.0020672 + t * 0.00000215);

	// Meeus, chapter 49: the corrections for a new moon.
	moment += -0.40720 * sin_deg(mm) + 0.17241 * e * sin_deg(m) + 0.01608 * sin_deg(2 * mm)
		+ 0.01039 * sin_deg(2 * f) + 0.00739 * e * sin_deg(mm - m) - 0.00514 * e * sin_deg(mm + m)
		+ 0.00208 * e * e * sin_deg(2 * m) - 0.00111 * sin_deg(mm - 2 * f)
		- 0.00057 * sin_deg(mm + 2 * f) + 0.00056 * e * sin_deg(2 * mm + m)
		- 0.00042 * sin_deg(3 * mm) + 0.00042 * e * sin_deg(m + 2 * f)
		+ 0.00038 * e * sin_deg(m - 2 * f) - 0.00024 * e * sin_deg(2 * mm - m)
		- 0.00017 * sin_deg(node) - 0.00007 * sin_deg(mm + 2 * m)
		+ 0.00004 * sin_deg(2 * mm - 2 * f) + 0.00004 * sin_deg(3 * m)
		+ 0.00003 * sin_deg(mm + m - 2 * f) + 0.00003 * sin_deg(2 * mm + 2 * f)
		- 0.00003 * sin_deg(mm + m + 2 * f) + 0.00003 * sin_deg(mm - m + 2 * f)
		- 0.00002 * sin_deg(mm - m - 2 * f) - 0.00002 * sin_deg(3 * mm + m)
		+ 0.00002 * sin_deg(4 * mm);

	// The planetary arguments and their corrections.
	static const double kPlanetary[14][3] = {{0.000325, 299.77, 0.107408},
		{0.000165, 251.88, 0.016321}, {0.000164, 251.83, 26.651886}, {0.000126, 349.42, 36.412478},
		{0.000110, 84.66, 18.206239}, {0.000062, 141.74, 53.303771}, {0.000060, 207.14, 2.453732},
		{0.000056, 154.84, 7.306860}, {0.000047, 34.52, 27.261239}, {0.000042, 207.19, 0.121824},
		{0.000040, 291.34, 1.844379}, {0.000037, 161.72, 24.198154}, {0.000035, 239.56, 25.513099},
		{0.000023, 331.55, 3.592518}};
	for (int i = 0; i < 14; i++) {
		double argument = kPlanetary[i][1] + kPlanetary[i][2] * k;
		if (i == 0)
			argument -= 0.009173 * t2;
		moment += kPlanetary[i][0] * sin_deg(argument);
	}
	return universal_time(moment);
}

long new_moon_before(double moment)
{
	long k = long(std::floor((moment - 2451550.09766) / kSynodicMonth));
	while (new_moon_moment(k + 1) <= moment)
		k++;
	while (new_moon_moment(k) > moment)
		k--;
	return k;
}

long long unix_seconds(double moment)
{
	return (long long)std::floor((moment - kUnixEpoch) * 86400 + 0.5);
}

long day_at_offset(double moment, int offsetSeconds)
{
	const long long local = unix_seconds(moment) + offsetSeconds;
	return long(local >= 0 ? local / 86400 : -((-local + 86399) / 86400));
}
