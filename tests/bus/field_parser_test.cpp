#include <gtest/gtest.h>

#include <string>

#include "BusProtocol.h"
#include "FieldParser.h"

namespace {

using dorva_send::parse_field;

const std::string kHere = "/home/someone/pictures";

// Parses a field that must be good into a message of its own.
BMessage good(const std::string& argument)
{
	BMessage message;
	std::string error;
	EXPECT_TRUE(parse_field(argument, kHere, &message, &error)) << argument << ": " << error;
	return message;
}

// Parses a field that must be refused; returns the reason.
std::string bad(const std::string& argument, BMessage* message = nullptr)
{
	BMessage own;
	if (message == nullptr)
		message = &own;
	const int32 fields = message->CountNames(B_ANY_TYPE);
	std::string error;
	EXPECT_FALSE(parse_field(argument, kHere, message, &error)) << argument;
	EXPECT_EQ(message->CountNames(B_ANY_TYPE), fields) << argument;
	EXPECT_NE(error.find(argument), std::string::npos) << "the reason names the argument";
	return error;
}

int64 integer(const std::string& argument)
{
	BMessage message = good(argument);
	int8 small = 0;
	int16 middle = 0;
	int32 wide = 0;
	if (message.FindInt8("a", &small) == B_OK)
		return small;
	if (message.FindInt16("a", &middle) == B_OK)
		return middle;
	EXPECT_EQ(message.FindInt32("a", &wide), B_OK) << argument;
	return wide;
}

float real(const std::string& argument)
{
	float value = 0;
	EXPECT_EQ(good(argument).FindFloat("a", &value), B_OK) << argument;
	return value;
}

bool flag(const std::string& argument)
{
	bool value = false;
	EXPECT_EQ(good(argument).FindBool("a", &value), B_OK) << argument;
	return value;
}

std::string text(const std::string& argument, const char* name = "a")
{
	std::string value;
	EXPECT_EQ(good(argument).FindString(name, &value), B_OK) << argument;
	return value;
}

std::string path(const std::string& argument)
{
	entry_ref ref;
	EXPECT_EQ(good(argument).FindRef("a", &ref), B_OK) << argument;
	return ref.Path();
}

TEST(FieldParser, ReadsEveryTypeIntoTheMessage)
{
	BMessage format = good("format_no=int16:2");
	int16 number = 0;
	EXPECT_EQ(format.FindInt16("format_no", &number), B_OK);
	EXPECT_EQ(number, 2);

	EXPECT_EQ(integer("a=int8:-128"), -128);
	EXPECT_EQ(integer("a=int8:127"), 127);
	EXPECT_EQ(integer("a=int16:-32768"), -32768);
	EXPECT_EQ(integer("a=int32:2147483647"), 2147483647);
	EXPECT_EQ(integer("a=int32:+7"), 7);
	EXPECT_EQ(real("a=float:1.5"), 1.5f);
	EXPECT_EQ(real("a=float:-2e3"), -2000.0f);
	EXPECT_TRUE(flag("a=bool:true"));
	EXPECT_TRUE(flag("a=bool:1"));
	EXPECT_FALSE(flag("a=bool:false"));
	EXPECT_FALSE(flag("a=bool:0"));

	// Only the first '=' and the first ':' after it separate; the value keeps the rest.
	EXPECT_EQ(text("a=string:out=1:2.png"), "out=1:2.png");
	EXPECT_EQ(text("a=string:"), "");
	EXPECT_EQ(text("be:clip_name=string:x", "be:clip_name"), "x");

	// A name given again adds a value of the same type, and may not change its type.
	BMessage message;
	std::string error;
	ASSERT_TRUE(parse_field("refs=ref:a.png", kHere, &message, &error)) << error;
	ASSERT_TRUE(parse_field("refs=ref:b.png", kHere, &message, &error)) << error;
	type_code type = 0;
	int32 count = 0;
	ASSERT_EQ(message.GetInfo("refs", &type, &count), B_OK);
	EXPECT_EQ(type, B_REF_TYPE);
	EXPECT_EQ(count, 2);
	EXPECT_NE(
		bad("refs=string:c.png", &message).find("given as both ref and string"), std::string::npos);
}

TEST(FieldParser, MakesRefsAbsoluteAndTidyWithoutAskingTheFileSystem)
{
	EXPECT_EQ(path("a=ref:photo.png"), "/home/someone/pictures/photo.png");
	EXPECT_EQ(path("a=ref:../x/./y.png"), "/home/someone/x/y.png");
	EXPECT_EQ(path("a=ref:/tmp/b.jpg"), "/tmp/b.jpg");
	EXPECT_EQ(path("a=ref:/tmp/"), "/tmp");
	EXPECT_EQ(path("a=ref:/"), "/");
	EXPECT_EQ(path("a=ref:/no/such/folder/a.png"), "/no/such/folder/a.png");
	entry_ref ref;
	EXPECT_EQ(good("a=ref:/no/such/folder/a.png").FindRef("a", &ref), B_OK);
	EXPECT_EQ(ref, entry_ref("/no/such/folder", "a.png"));
}

TEST(FieldParser, RefusesMalformedFieldsWithAReason)
{
	EXPECT_NE(bad("format_no").find("'='"), std::string::npos);
	EXPECT_NE(bad("format_no=int16").find("':'"), std::string::npos);
	EXPECT_NE(bad("=int16:3").find("name is empty"), std::string::npos);
	EXPECT_NE(bad("n=int12:3").find("unknown type 'int12'"), std::string::npos);
	EXPECT_NE(bad("n=:3").find("unknown type ''"), std::string::npos);
	EXPECT_NE(bad("n=INT16:3").find("unknown type"), std::string::npos);
	bad(std::string(256, 'n') + "=int8:1");
	bad("refs=ref:");
	bad("s=string:" + std::string(kit::bus::kMaxStringBytes + 1, 'x'));
	bad("refs=ref:/" + std::string(kit::bus::kMaxPathBytes, 'p'));
}

TEST(FieldParser, RefusesNumbersOutsideTheirTypeOrNotQuiteNumbers)
{
	for (const char* outOfRange : {"a=int8:128", "a=int8:-129", "a=int16:32768", "a=int16:-32769",
			 "a=int32:2147483648", "a=int32:-2147483649", "a=int32:99999999999999999999999",
			 "a=float:1e39", "a=float:-1e39", "a=float:1e400"}) {
		EXPECT_NE(bad(outOfRange).find("range"), std::string::npos) << outOfRange;
	}
	for (const char* notNumber :
		{"a=int16:", "a=int16:5x", "a=int16: 5", "a=int16:0x10", "a=int16:1.0", "a=int16:+-5",
			"a=int16:--5", "a=float:", "a=float:nan", "a=float:inf", "a=float:abc", "a=float:1e",
			"a=float:0x1p3", "a=float: 1", "a=bool:yes", "a=bool:", "a=bool:TRUE"}) {
		bad(notNumber);
	}
}

TEST(MessageCode, IsFourPrintableCharacters)
{
	std::string error;
	uint32 code = 0;
	EXPECT_TRUE(dorva_send::parse_message_code("ficl", &code, &error));
	EXPECT_EQ(code, kit_code("ficl"));
	EXPECT_TRUE(dorva_send::parse_message_code("TGA ", &code, &error));
	EXPECT_EQ(code, kit_code("TGA "));
	EXPECT_TRUE(dorva_send::parse_message_code("_QRQ", &code, &error));
	EXPECT_EQ(kit::bus::message_code_text(code), "_QRQ");
	for (const char* text : {"", "abc", "abcde", "ab\tc",
			 "\x7f"
			 "abc",
			 "é!"}) {
		error.clear();
		EXPECT_FALSE(dorva_send::parse_message_code(text, &code, &error)) << text;
		EXPECT_NE(error.find("four characters"), std::string::npos);
	}
}

// The bus's rules for a well-known name: two or more elements of [A-Za-z0-9_-], none
// empty or starting with a digit, 255 characters at most.
bool is_valid_bus_name(const std::string& name)
{
	if (name.empty() || name.size() > 255)
		return false;
	int elements = 0;
	size_t start = 0;
	while (true) {
		size_t dot = name.find('.', start);
		std::string element = name.substr(start, dot == std::string::npos ? dot : dot - start);
		if (element.empty() || (element[0] >= '0' && element[0] <= '9'))
			return false;
		for (char c : element) {
			if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-')
				return false;
		}
		elements++;
		if (dot == std::string::npos)
			break;
		start = dot + 1;
	}
	return elements >= 2;
}

TEST(BusName, ComesFromTheSignatureByFixedRules)
{
	using kit::bus::bus_name_for_signature;
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.Vesk-dorva"), "x_vnd.Vesk.dorva");
	EXPECT_EQ(kit::bus::object_path_for_bus_name("x_vnd.Vesk.dorva"), "/x_vnd/Vesk/dorva");
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.Be-3d.Viewer"), "x_vnd.Be._3d.Viewer");
	EXPECT_EQ(bus_name_for_signature("application/dorva"), "x_vnd.dorva");
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.A--b..c"), "x_vnd.A.b.c");
	EXPECT_EQ(
		bus_name_for_signature("application/x-vnd.Vesk-dorva test+1"), "x_vnd.Vesk.dorva_test_1");

	const std::string odd[] = {"", "/", "application/", "application/...", "x-vnd.ü-ß",
		"application/x-vnd." + std::string(400, 'a') + "-" + std::string(300, 'b'),
		"application/x-vnd." + std::string(200, '-') + "end"};
	for (const std::string& signature : odd) {
		std::string name = bus_name_for_signature(signature);
		EXPECT_TRUE(is_valid_bus_name(name)) << signature << " -> " << name;
	}
}

} // namespace
