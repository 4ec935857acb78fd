#include <gtest/gtest.h>

#include <string>

#include "FakeTranslator.h"
#include "ProgramHarness.h"
#include "output_catalogue.h"

namespace {

const uint32 kTga = kit_code("TGA ");
const uint32 kPng = kit_code("PNG ");

s_xlt* entry(int32 index)
{
	return static_cast<s_xlt*>(xlt.ItemAt(index));
}

class OutputCatalogue : public ::testing::Test {
protected:
	void SetUp() override { fSaved = tr; }
	void TearDown() override { tr = fSaved; }

	BTranslatorRoster* fSaved = nullptr;
};

TEST_F(OutputCatalogue, PutsTgaFirstSkipsBitmapStreamsAndKeepsDuplicates)
{
	BTranslatorRoster roster;
	std::string longName(250, 'n');
	roster.AddTranslator(new FakeTranslator("first",
		{
			{kTga, "TGA one", "image/x-targa"},
			{B_TRANSLATOR_BITMAP, "Bits", "image/x-be-bitmap"},
			{kPng, longName, "image/png"},
		}));
	roster.AddTranslator(new FakeTranslator("second",
		{
			{kit_code("mhi!"), "skipped", "image/x-mhi"},
			{kPng, "PNG again", "image/png"},
			{kTga, "TGA two", "image/x-targa"},
		}));
	roster.AddTranslator(new FakeTranslator("only bits",
		{
			{B_TRANSLATOR_BITMAP, "Bits", "image/x-be-bitmap"},
		}));
	tr = &roster;

	ProgramHarness program;
	ASSERT_EQ(trc, 4);
	ASSERT_EQ(xlt.CountItems(), 4);
	EXPECT_STREQ(entry(0)->name, "TGA two");
	EXPECT_STREQ(entry(1)->name, "TGA one");
	EXPECT_EQ(entry(2)->name, longName);
	EXPECT_EQ(entry(2)->type, kPng);
	EXPECT_STREQ(entry(2)->mime, "image/png");
	EXPECT_STREQ(entry(3)->name, "PNG again");
}

TEST_F(OutputCatalogue, IsEmptyWhenNothingButBitmapStreamsCanBeWritten)
{
	BTranslatorRoster roster;
	roster.AddTranslator(new FakeTranslator("only bits",
		{
			{B_TRANSLATOR_BITMAP, "Bits", "image/x-be-bitmap"},
		}));
	tr = &roster;
	ProgramHarness program;
	EXPECT_EQ(trc, 0);
	EXPECT_EQ(xlt.CountItems(), 0);
}

TEST_F(OutputCatalogue, OffersTheSystemsCommonFormats)
{
	tr = BTranslatorRoster::Default();
	ASSERT_NE(tr, nullptr);
	ProgramHarness program;
	bool png = false, jpeg = false;
	for (int32 i = 0; i < trc; i++) {
		png = png || std::string(entry(i)->mime) == "image/png";
		jpeg = jpeg || std::string(entry(i)->mime) == "image/jpeg";
		EXPECT_NE(entry(i)->type, B_TRANSLATOR_BITMAP);
		EXPECT_GT(std::string(entry(i)->name).size(), 0u);
	}
	EXPECT_TRUE(png);
	EXPECT_TRUE(jpeg);
}

} // namespace
