#include <gtest/gtest.h>

#include <string>

#include "BusProtocol.h"
#include "FieldParser.h"

namespace {

using dorva_send::parse_field;
using dorva_send::wire_field;

const std::string kHere = "/home/someone/pictures";

// Parses a field that must be good.
wire_field good(const std::string& argument)
{
	wire_field field;
	std::string error;
	EXPECT_TRUE(parse_field(argument, kHere, &field, &error)) << argument << ": " << error;
	return field;
}

// Parses a field that must be refused; returns the reason.
std::string bad(const std::string& argument)
{
	wire_field field;
	field.name = "untouched";
	std::string error;
	EXPECT_FALSE(parse_field(argument, kHere, &field, &error)) << argument;
	EXPECT_EQ(field.name, "untouched") << argument;
	EXPECT_NE(error.find(argument), std::string::npos) << "the reason names the argument";
	return error;
}

TEST(FieldParser, ReadsEveryTypeIntoItsWireValue)
{
	wire_field format = good("format_no=int16:2");
	EXPECT_EQ(format.name, "format_no");
	EXPECT_EQ(format.type, "int16");
	EXPECT_EQ(std::get<int64_t>(format.value), 2);

	EXPECT_EQ(std::get<int64_t>(good("a=int8:-128").value), -128);
	EXPECT_EQ(std::get<int64_t>(good("a=int8:127").value), 127);
	EXPECT_EQ(std::get<int64_t>(good("a=int16:-32768").value), -32768);
	EXPECT_EQ(std::get<int64_t>(good("a=int32:2147483647").value), 2147483647);
	EXPECT_EQ(std::get<int64_t>(good("a=int32:+7").value), 7);
	EXPECT_DOUBLE_EQ(std::get<double>(good("scale=float:1.5").value), 1.5);
	EXPECT_DOUBLE_EQ(std::get<double>(good("scale=float:-2e3").value), -2000);
	EXPECT_TRUE(std::get<bool>(good("b=bool:true").value));
	EXPECT_TRUE(std::get<bool>(good("b=bool:1").value));
	EXPECT_FALSE(std::get<bool>(good("b=bool:false").value));
	EXPECT_FALSE(std::get<bool>(good("b=bool:0").value));

	// Only the first '=' and the first ':' after it separate; the value keeps the rest.
	wire_field text = good("name=string:out=1:2.png");
	EXPECT_EQ(text.type, "string");
	EXPECT_EQ(std::get<std::string>(text.value), "out=1:2.png");
	EXPECT_EQ(std::get<std::string>(good("name=string:").value), "");
	EXPECT_EQ(good("be:clip_name=string:x").name, "be:clip_name");
}

TEST(FieldParser, MakesRefsAbsoluteAndTidyWithoutAskingTheFileSystem)
{
	EXPECT_EQ(std::get<std::string>(good("refs=ref:photo.png").value),
		"/home/someone/pictures/photo.png");
	EXPECT_EQ(std::get<std::string>(good("refs=ref:../x/./y.png").value),
		"/home/someone/x/y.png");
	EXPECT_EQ(std::get<std::string>(good("refs=ref:/tmp/b.jpg").value), "/tmp/b.jpg");
	EXPECT_EQ(std::get<std::string>(good("directory=ref:/tmp/").value), "/tmp");
	EXPECT_EQ(std::get<std::string>(good("directory=ref:/").value), "/");
	EXPECT_EQ(std::get<std::string>(good("refs=ref:/no/such/folder/a.png").value),
		"/no/such/folder/a.png");
	EXPECT_EQ(good("refs=ref:a").type, "ref");
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
	for (const char* outOfRange : {"a=int8:128", "a=int8:-129", "a=int16:32768",
			 "a=int16:-32769", "a=int32:2147483648", "a=int32:-2147483649",
			 "a=int32:99999999999999999999999", "a=float:1e39", "a=float:-1e39",
			 "a=float:1e400"}) {
		EXPECT_NE(bad(outOfRange).find("range"), std::string::npos) << outOfRange;
	}
	for (const char* notNumber : {"a=int16:", "a=int16:5x", "a=int16: 5", "a=int16:0x10",
			 "a=int16:1.0", "a=int16:+-5", "a=int16:--5", "a=float:", "a=float:nan",
			 "a=float:inf", "a=float:abc", "a=float:1e", "a=float:0x1p3", "a=float: 1",
			 "a=bool:yes", "a=bool:", "a=bool:TRUE"}) {
		bad(notNumber);
	}
}

TEST(MessageCode, IsFourPrintableCharacters)
{
	std::string error;
	EXPECT_TRUE(dorva_send::check_message_code("ficl", &error));
	EXPECT_TRUE(dorva_send::check_message_code("TGA ", &error));
	EXPECT_TRUE(dorva_send::check_message_code("_QRQ", &error));
	for (const char* code : {"", "abc", "abcde", "ab\tc", "\x7f" "abc", "é!"}) {
		error.clear();
		EXPECT_FALSE(dorva_send::check_message_code(code, &error)) << code;
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
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.Be-3d.Viewer"),
		"x_vnd.Be._3d.Viewer");
	EXPECT_EQ(bus_name_for_signature("application/dorva"), "x_vnd.dorva");
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.A--b..c"), "x_vnd.A.b.c");
	EXPECT_EQ(bus_name_for_signature("application/x-vnd.Vesk-dorva test+1"),
		"x_vnd.Vesk.dorva_test_1");

	const std::string odd[] = {"", "/", "application/", "application/...", "x-vnd.ü-ß",
		"application/x-vnd." + std::string(400, 'a') + "-" + std::string(300, 'b'),
		"application/x-vnd." + std::string(200, '-') + "end"};
	for (const std::string& signature : odd) {
		std::string name = bus_name_for_signature(signature);
		EXPECT_TRUE(is_valid_bus_name(name)) << signature << " -> " << name;
	}
}

} // namespace
