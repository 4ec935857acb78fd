// The names a calendar writes in a language: months, weekdays and the first day of the week,
// from the platform's locale data. Years are plain digits, which the caller writes itself.
#pragma once

#include <string>

#include "SupportDefs.h"

enum BDateFormatStyle {
	B_FULL_DATE_FORMAT,
	B_LONG_DATE_FORMAT,
	B_MEDIUM_DATE_FORMAT,
	B_SHORT_DATE_FORMAT
};

class BDateFormat {
public:
	// language: "de", "de_AT", "pt-BR", "ja" (a codeset or modifier, as in "de_DE.UTF-8",
	// is passed over); "C" and "POSIX" give English. Null or "": the environment's time
	// locale, the first of LC_ALL, LC_TIME and LANG that is set and not empty; "C",
	// "POSIX", none at all, or one that the locale data lacks give English.
	explicit BDateFormat(const char* language = nullptr);
	~BDateFormat();
	BDateFormat(const BDateFormat&) = delete;
	BDateFormat& operator=(const BDateFormat&) = delete;

	// B_OK; B_BAD_VALUE for a language given by name that the locale data lacks. A format
	// that failed answers every call with B_NO_INIT.
	status_t InitCheck() const;

	// What the language resolved to, e.g. "de_DE"; "" after a failure.
	const char* Language() const;

	// Month 1 to 12, its stand-alone (nominative) name as a calendar's heading writes it:
	// B_FULL and B_LONG "Januar", B_MEDIUM and B_SHORT "Jan". B_BAD_VALUE, name untouched,
	// for a month or style out of range.
	status_t GetMonthName(
		int month, std::string& name, BDateFormatStyle style = B_LONG_DATE_FORMAT) const;

	// Weekday 0 = Sunday to 6 = Saturday: B_FULL "Montag", B_LONG and B_MEDIUM the short
	// name ("Mo", "Mon"), B_SHORT the narrowest ("M"). B_BAD_VALUE, name untouched, for a
	// weekday or style out of range.
	status_t GetDayName(int weekday, std::string& name, BDateFormatStyle style) const;

	// The first day of the week where the language is spoken, 0 = Sunday to 6 = Saturday.
	int StartOfWeek() const;

private:
	struct Data;
	Data* fData;
};
