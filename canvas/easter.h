// Easter Sunday, by the computus of the Western and of the Orthodox churches.
#pragma once

// Western Easter Sunday of the year (Gregorian computus), as a day counted from 1970-01-01.
long western_easter(int year);

// Orthodox Easter Sunday of the year (Julian computus), as the Gregorian day counted from
// 1970-01-01.
long orthodox_easter(int year);
