// The national holidays of Japan as the program computed them in C++ before the rule files:
// kept as the reference that data/holidays/jp.rules must agree with.
#pragma once

#include "holiday_set.h"

// The days off of the year that the law gives: the named national holidays, the
// substitute holidays and the citizens' holidays between two national holidays, and the
// days that special laws made holidays. For a year before 1949 there are none: the law
// took effect in the middle of 1948. The equinox days follow an approximation that holds
// from 1900 to 2099, so later years are answered with none either.
year_days japanese_holidays(int year);
