#include "DateFormat.h"

#include <QLocale>

#include <cstdlib>

// The names come from QLocale, whose data is the Unicode Common Locale Data Repository
// (CLDR) as built into Qt.
struct BDateFormat::Data {
	QLocale locale{QLocale::C};
	std::string language;
	status_t status = B_NO_INIT;
};

namespace {

QLocale english()
{
	return QLocale(QLocale::English, QLocale::UnitedStates);
}

// The name without the codeset and modifier of a POSIX locale name ("de_DE.UTF-8@euro").
std::string without_codeset(const char* name)
{
	std::string text(name);
	return text.substr(0, text.find_first_of(".@"));
}

bool is_plain_locale(const std::string& name)
{
	return name == "C" || name == "POSIX";
}

// The environment's time locale: the first of LC_ALL, LC_TIME and LANG that is set and not
// empty, as the C library chooses it.
std::string environment_time_locale()
{
	for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
		const char* value = std::getenv(variable);
		if (value != nullptr && value[0] != '\0')
			return without_codeset(value);
	}
	return std::string();
}

// Whether the locale data has the language that name asks for: QLocale answers an
// unknown one with its "C" locale.
bool find_locale(const std::string& name, QLocale* locale)
{
	for (char c : name) {
		const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')
			|| (c >= '0' && c <= '9') || c == '_' || c == '-';
		if (!allowed)
			return false;
	}
	const QLocale found(QString::fromStdString(name));
	if (found.language() == QLocale::C || found.language() == QLocale::AnyLanguage)
		return false;
	*locale = found;
	return true;
}

// Qt numbers the weekdays 1 = Monday to 7 = Sunday.
int qt_weekday(int weekday)
{
	return weekday == 0 ? 7 : weekday;
}

} // namespace

BDateFormat::BDateFormat(const char* language) : fData(new Data)
{
	const bool fromEnvironment = language == nullptr || language[0] == '\0';
	const std::string name =
		fromEnvironment ? environment_time_locale() : without_codeset(language);
	if (name.empty() || is_plain_locale(name)) {
		fData->locale = english();
	} else if (!find_locale(name, &fData->locale)) {
		// A user's environment that names a language the data lacks still gets a
		// calendar; a language asked for by name is refused.
		if (!fromEnvironment) {
			fData->status = B_BAD_VALUE;
			return;
		}
		fData->locale = english();
	}
	fData->language = fData->locale.name().toStdString();
	fData->status = B_OK;
}

BDateFormat::~BDateFormat()
{
	delete fData;
}

status_t BDateFormat::InitCheck() const
{
	return fData->status;
}

const char* BDateFormat::Language() const
{
	return fData->language.c_str();
}

status_t BDateFormat::GetMonthName(int month, std::string& name, BDateFormatStyle style) const
{
	if (fData->status != B_OK)
		return B_NO_INIT;
	if (month < 1 || month > 12)
		return B_BAD_VALUE;
	QLocale::FormatType format;
	switch (style) {
		case B_FULL_DATE_FORMAT:
		case B_LONG_DATE_FORMAT:
			format = QLocale::LongFormat;
			break;
		case B_MEDIUM_DATE_FORMAT:
		case B_SHORT_DATE_FORMAT:
			format = QLocale::ShortFormat;
			break;
		default:
			return B_BAD_VALUE;
	}
	// The stand-alone form is the nominative that a heading uses ("styczeń"), where the
	// other form is the one inside a date ("1 stycznia").
	name = fData->locale.standaloneMonthName(month, format).toStdString();
	return B_OK;
}

status_t BDateFormat::GetDayName(int weekday, std::string& name, BDateFormatStyle style) const
{
	if (fData->status != B_OK)
		return B_NO_INIT;
	if (weekday < 0 || weekday > 6)
		return B_BAD_VALUE;
	QLocale::FormatType format;
	switch (style) {
		case B_FULL_DATE_FORMAT:
			format = QLocale::LongFormat;
			break;
		case B_LONG_DATE_FORMAT:
		case B_MEDIUM_DATE_FORMAT:
			format = QLocale::ShortFormat;
			break;
		case B_SHORT_DATE_FORMAT:
			format = QLocale::NarrowFormat;
			break;
		default:
			return B_BAD_VALUE;
	}
	name = fData->locale.standaloneDayName(qt_weekday(weekday), format).toStdString();
	return B_OK;
}

int BDateFormat::StartOfWeek() const
{
	// Qt::Sunday is 7; the program counts from Sunday = 0.
	return int(fData->locale.firstDayOfWeek()) % 7;
}
