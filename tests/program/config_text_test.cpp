// The two small readers behind the configuration window: colour texts read as sscanf's "%x"
// reads them (without its overflow), and font labels split back into family and style.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "color_scan.h"
#include "font_label.h"

namespace {

const uint32 kUnchanged = 0xdeadbeef;

TEST(ScanColor, AgreesWithSscanfWhereSscanfIsDefined)
{
	const char* texts[] = {"0", "ff", "FF", "80000000", "00ff00", "  00ff00", "\t\n 1a2B",
		"0x00ff00", "0X1f", "0x", "0xzz", "0x-1", "12zz", "12 34", "+12", "-ff", "-0x10",
		"00000000ff", "ffffffff", "-", "- 1", "+", "zz", "x1", "", "   ", "g0"};
	for (const char* text : texts) {
		SCOPED_TRACE(std::string("text \"") + text + "\"");
		unsigned int expected = kUnchanged;
		int converted = std::sscanf(text, "%x", &expected);
		uint32 color = kUnchanged;
		EXPECT_EQ(scan_color(text, &color), converted == 1);
		EXPECT_EQ(color, uint32(expected));
	}
}

TEST(ScanColor, LeavesTheColourWhenTheValueNeedsMoreThan32Bits)
{
	const char* texts[] = {
		"123456789", "fffffffff", "0x100000000", "  ffffffffffffffffffff", "-123456789"};
	for (const char* text : texts) {
		SCOPED_TRACE(text);
		uint32 color = kUnchanged;
		EXPECT_FALSE(scan_color(text, &color));
		EXPECT_EQ(color, kUnchanged);
	}
	// Zeros in front add no digits to the value.
	uint32 color = kUnchanged;
	EXPECT_TRUE(scan_color("0000000012345678", &color));
	EXPECT_EQ(color, 0x12345678u);
	EXPECT_FALSE(scan_color(nullptr, &color));
	EXPECT_EQ(color, 0x12345678u);
}

struct Split {
	std::string family;
	std::string style;
};

Split split(const char* label)
{
	font_family family;
	font_style style;
	std::memset(family, 'x', sizeof(family));
	std::memset(style, 'x', sizeof(style));
	split_font_label(label, &family, &style);
	return Split{family, style};
}

TEST(SplitFontLabel, SplitsAtTheLastOpeningParenthesis)
{
	Split plain = split("Serif(Bold)");
	EXPECT_EQ(plain.family, "Serif");
	EXPECT_EQ(plain.style, "Bold");
	Split spaced = split("DejaVu Sans Mono(Bold Oblique)");
	EXPECT_EQ(spaced.family, "DejaVu Sans Mono");
	EXPECT_EQ(spaced.style, "Bold Oblique");
	// A family with "(" in its name comes out whole.
	Split bracketed = split("Foo (Pro)(Regular)");
	EXPECT_EQ(bracketed.family, "Foo (Pro)");
	EXPECT_EQ(bracketed.style, "Regular");
	Split empty = split("Family()");
	EXPECT_EQ(empty.family, "Family");
	EXPECT_EQ(empty.style, "");
	Split noStyle = split("Lonely");
	EXPECT_EQ(noStyle.family, "Lonely");
	EXPECT_EQ(noStyle.style, "");
	Split nothing = split("");
	EXPECT_EQ(nothing.family, "");
	EXPECT_EQ(nothing.style, "");
}

TEST(SplitFontLabel, CutsLongNamesAtACharacterBoundary)
{
	// 40 two-byte characters (80 bytes) of family, 70 one-byte characters of style.
	std::string family;
	for (int i = 0; i < 40; i++)
		family += "\xc3\xa9"; // é
	std::string style(70, 's');
	std::string label = family + "(" + style + ")";
	Split parts = split(label.c_str());
	// 63 bytes would end inside the 32nd "é": the cut keeps 31 whole characters.
	EXPECT_EQ(parts.family, family.substr(0, 62));
	EXPECT_EQ(parts.style, std::string(63, 's'));

	// A label far longer than any buffer still splits at its last "(".
	std::string huge = std::string(1000, 'a') + "(" + std::string(500, '(') + "(Book)";
	Split long_parts = split(huge.c_str());
	EXPECT_EQ(long_parts.style, "Book");
	EXPECT_EQ(long_parts.family.size(), 63u);

	// A last character of several bytes is dropped whole.
	Split wide = split("Sans(Bold\xc3\xa9");
	EXPECT_EQ(wide.family, "Sans");
	EXPECT_EQ(wide.style, "Bold");
}

} // namespace
