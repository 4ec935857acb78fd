#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "DateFormat.h"

namespace {

std::string month(const BDateFormat& format, int month, BDateFormatStyle style)
{
	std::string name = "?";
	EXPECT_EQ(format.GetMonthName(month, name, style), B_OK);
	return name;
}

std::string day(const BDateFormat& format, int weekday, BDateFormatStyle style)
{
	std::string name = "?";
	EXPECT_EQ(format.GetDayName(weekday, name, style), B_OK);
	return name;
}

// Sets the locale variables for one test and puts the machine's back afterwards.
class DateFormatEnvironment : public ::testing::Test {
protected:
	void SetUp() override
	{
		for (int i = 0; i < 3; i++) {
			const char* value = std::getenv(kVariables[i]);
			if (value != nullptr)
				fSaved[i] = value;
		}
	}
	void TearDown() override
	{
		for (int i = 0; i < 3; i++)
			set(kVariables[i], fSaved[i] ? fSaved[i]->c_str() : nullptr);
	}
	static void set(const char* variable, const char* value)
	{
		if (value != nullptr)
			setenv(variable, value, 1);
		else
			unsetenv(variable);
	}
	static void locale(const char* all, const char* time, const char* lang)
	{
		set("LC_ALL", all);
		set("LC_TIME", time);
		set("LANG", lang);
	}

	static constexpr const char* kVariables[3] = {"LC_ALL", "LC_TIME", "LANG"};
	std::optional<std::string> fSaved[3];
};

} // namespace

TEST(DateFormat, NamesInGermanJapaneseAndFrench)
{
	BDateFormat german("de");
	ASSERT_EQ(german.InitCheck(), B_OK);
	EXPECT_STREQ(german.Language(), "de_DE");
	EXPECT_EQ(month(german, 1, B_FULL_DATE_FORMAT), "Januar");
	EXPECT_EQ(month(german, 3, B_MEDIUM_DATE_FORMAT), "Mär");
	EXPECT_EQ(month(german, 12, B_SHORT_DATE_FORMAT), "Dez");
	EXPECT_EQ(day(german, 1, B_FULL_DATE_FORMAT), "Montag");
	EXPECT_EQ(day(german, 1, B_LONG_DATE_FORMAT), "Mo");
	EXPECT_EQ(day(german, 0, B_MEDIUM_DATE_FORMAT), "So");
	EXPECT_EQ(day(german, 6, B_SHORT_DATE_FORMAT), "S");

	BDateFormat japanese("ja");
	ASSERT_EQ(japanese.InitCheck(), B_OK);
	EXPECT_EQ(month(japanese, 10, B_LONG_DATE_FORMAT), "10月");
	EXPECT_EQ(day(japanese, 0, B_FULL_DATE_FORMAT), "日曜日");
	EXPECT_EQ(day(japanese, 6, B_SHORT_DATE_FORMAT), "土");

	BDateFormat french("fr");
	EXPECT_EQ(month(french, 2, B_LONG_DATE_FORMAT), "février");
	EXPECT_EQ(day(french, 3, B_FULL_DATE_FORMAT), "mercredi");

	// A country's own names where it has them, written either way.
	BDateFormat austrian("de-AT");
	EXPECT_STREQ(austrian.Language(), "de_AT");
	EXPECT_EQ(month(austrian, 1, B_LONG_DATE_FORMAT), "Jänner");
}

// A heading names the month alone, in the nominative, not as a date writes it.
TEST(DateFormat, MonthsStandAloneNotGenitive)
{
	BDateFormat polish("pl");
	EXPECT_EQ(month(polish, 1, B_LONG_DATE_FORMAT), "styczeń");
	EXPECT_EQ(month(BDateFormat("ru_RU.UTF-8"), 5, B_LONG_DATE_FORMAT), "май");
}

TEST(DateFormat, RefusesWhatItCannotName)
{
	for (const char* unknown : {"xx", "zz_ZZ", "de/../ja", "Deutsch"}) {
		BDateFormat format(unknown);
		EXPECT_EQ(format.InitCheck(), B_BAD_VALUE) << unknown;
		std::string name = "kept";
		EXPECT_EQ(format.GetMonthName(1, name), B_NO_INIT);
		EXPECT_EQ(name, "kept");
	}

	// Numbers one past either end.
	BDateFormat german("de");
	std::string name = "kept";
	EXPECT_EQ(german.GetMonthName(0, name), B_BAD_VALUE);
	EXPECT_EQ(german.GetMonthName(13, name), B_BAD_VALUE);
	EXPECT_EQ(german.GetDayName(-1, name, B_FULL_DATE_FORMAT), B_BAD_VALUE);
	EXPECT_EQ(german.GetDayName(7, name, B_FULL_DATE_FORMAT), B_BAD_VALUE);
	EXPECT_EQ(name, "kept");
	EXPECT_EQ(month(german, 12, B_LONG_DATE_FORMAT), "Dezember");
	EXPECT_EQ(day(german, 6, B_FULL_DATE_FORMAT), "Samstag");
}

TEST(DateFormat, StartOfWeekFromTheLocaleData)
{
	EXPECT_EQ(BDateFormat("de").StartOfWeek(), 1);
	EXPECT_EQ(BDateFormat("en_US").StartOfWeek(), 0);
	EXPECT_EQ(BDateFormat("ar_EG").StartOfWeek(), 6);
}

TEST_F(DateFormatEnvironment, LcAllOverLcTimeOverLang)
{
	locale("fr_FR.UTF-8", "de_DE.UTF-8", "ja_JP.UTF-8");
	EXPECT_STREQ(BDateFormat().Language(), "fr_FR");
	locale("", "de_DE.UTF-8", "ja_JP.UTF-8");
	EXPECT_STREQ(BDateFormat("").Language(), "de_DE");
	locale(nullptr, nullptr, "ja_JP.UTF-8");
	BDateFormat japanese;
	EXPECT_STREQ(japanese.Language(), "ja_JP");
	EXPECT_EQ(month(japanese, 1, B_LONG_DATE_FORMAT), "1月");

	// A name given wins over the environment.
	EXPECT_STREQ(BDateFormat("pl").Language(), "pl_PL");
}

TEST_F(DateFormatEnvironment, PlainOrUnknownEnvironmentGivesEnglish)
{
	for (const char* plain : {"C", "POSIX", "C.UTF-8", "xx_YY.UTF-8"}) {
		locale(nullptr, plain, "de_DE.UTF-8");
		BDateFormat format;
		EXPECT_EQ(format.InitCheck(), B_OK) << plain;
		EXPECT_EQ(month(format, 1, B_LONG_DATE_FORMAT), "January") << plain;
		EXPECT_EQ(format.StartOfWeek(), 0) << plain;
	}
	locale(nullptr, nullptr, nullptr);
	BDateFormat none;
	EXPECT_EQ(day(none, 1, B_FULL_DATE_FORMAT), "Monday");
	EXPECT_EQ(day(none, 1, B_MEDIUM_DATE_FORMAT), "Mon");
}
