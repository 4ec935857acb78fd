#include "dorvaview.h"

// The canvas's question about a date of its year, answered by the table of 2007
// (what_day_2007.cpp).
int dorvaview::what_day(int year, int month, int day, int* row, int* weekday, int* holiday)
{
	return what_day_2007(year, month, day, row, weekday, holiday);
}
