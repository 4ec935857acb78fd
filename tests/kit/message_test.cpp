#include <gtest/gtest.h>

#include "Message.h"

namespace {

TEST(Message, KeepsTypedFieldsWithSeveralValuesInOrder)
{
	BMessage message(kit_code("DATA"));
	entry_ref first("/tmp", "a.png");
	entry_ref second("/home/user", "b.jpg");
	ASSERT_EQ(message.AddRef("refs", &first), B_OK);
	ASSERT_EQ(message.AddRef("refs", &second), B_OK);
	ASSERT_EQ(message.AddInt16("config", 2), B_OK);
	ASSERT_EQ(message.AddString("be:types", "text/plain"), B_OK);
	ASSERT_EQ(message.AddString("be:types", "image/png"), B_OK);

	type_code type;
	int32 count;
	ASSERT_EQ(message.GetInfo("refs", &type, &count), B_OK);
	EXPECT_EQ(type, B_REF_TYPE);
	EXPECT_EQ(count, 2);

	entry_ref found;
	ASSERT_EQ(message.FindRef("refs", 1, &found), B_OK);
	EXPECT_EQ(found, second);
	EXPECT_EQ(message.FindRef("refs", 2, &found), B_BAD_INDEX);

	int16 config = 0;
	EXPECT_EQ(message.FindInt16("config", &config), B_OK);
	EXPECT_EQ(config, 2);
	int32 wrongType;
	EXPECT_EQ(message.FindInt32("config", &wrongType), B_BAD_TYPE);
	EXPECT_EQ(message.AddInt32("config", 3), B_BAD_TYPE);

	const char* text;
	ASSERT_EQ(message.FindString("be:types", 1, &text), B_OK);
	EXPECT_STREQ(text, "image/png");
}

TEST(Message, FindsFieldsByTypeAndIndexInTheOrderAdded)
{
	BMessage message(B_MIME_DATA);
	message.AddString("other", "x");
	message.AddData("text/plain", B_MIME_TYPE, "hello", 5);
	message.AddData("image/png", B_MIME_TYPE, "\x89PNG", 4);

	const char* name;
	type_code type;
	int32 count;
	ASSERT_EQ(message.GetInfo(B_MIME_TYPE, 0, &name, &type, &count), B_OK);
	EXPECT_STREQ(name, "text/plain");
	ASSERT_EQ(message.GetInfo(B_MIME_TYPE, 1, &name, &type, &count), B_OK);
	EXPECT_STREQ(name, "image/png");
	EXPECT_NE(message.GetInfo(B_MIME_TYPE, 2, &name, &type, &count), B_OK);
	EXPECT_NE(message.GetInfo(B_RECT_TYPE, 0, &name, &type, &count), B_OK);
	EXPECT_EQ(message.CountNames(B_ANY_TYPE), 3);
}

TEST(Message, NestedMessagesSurviveAndCorruptionIsRefused)
{
	BMessage inner(kit_code("Vchg"));
	inner.AddPoint("_drop_point_", BPoint(3, 4));
	BMessage outer(kit_code("wrap"));
	ASSERT_EQ(outer.AddMessage("inner", &inner), B_OK);

	BMessage copy;
	ASSERT_EQ(outer.FindMessage("inner", &copy), B_OK);
	EXPECT_EQ(copy.what, kit_code("Vchg"));
	BPoint point;
	ASSERT_EQ(copy.FindPoint("_drop_point_", &point), B_OK);
	EXPECT_EQ(point, BPoint(3, 4));

	// A string field without its terminator is not handed out as a C string.
	BMessage bad;
	bad.AddData("name", B_STRING_TYPE, "abc", 3);
	const char* text = nullptr;
	EXPECT_EQ(bad.FindString("name", &text), B_BAD_DATA);
	// Nor is a nested message whose lengths run past its end.
	bad.AddData("inner", B_MESSAGE_TYPE, "\1\0\0\0\5\0\0\0", 8);
	EXPECT_EQ(bad.FindMessage("inner", &copy), B_BAD_DATA);
}

TEST(Message, RefsAndBoolsWhoseBytesAreNoValuesAreRefusedOrRead)
{
	BMessage message;
	entry_ref good("/some/folder", "name.png");
	ASSERT_EQ(message.AddRef("refs", &good), B_OK);
	// Flat refs are "directory\0name\0": the only NUL the last byte, no NUL, a NUL in the
	// name, nothing at all.
	for (const std::string& bytes :
		{std::string("name\0", 5), std::string("name"), std::string("a\0b\0c\0", 6), std::string()})
		message.AddData("refs", B_REF_TYPE, bytes.data(), ssize_t(bytes.size()));
	entry_ref ref;
	ASSERT_EQ(message.FindRef("refs", 0, &ref), B_OK);
	EXPECT_EQ(ref.name, "name.png");
	for (int32 i = 1; i <= 4; i++) {
		entry_ref untouched("/keep", "me");
		EXPECT_EQ(message.FindRef("refs", i, &untouched), B_BAD_DATA) << i;
		EXPECT_EQ(untouched.name, "me");
	}
	// An empty ref (no directory, no name) is still one.
	message.AddData("empty", B_REF_TYPE, "\0\0", 2);
	EXPECT_EQ(message.FindRef("empty", &ref), B_OK);
	EXPECT_TRUE(ref.name.empty());

	// A bool of any byte but zero is true.
	message.AddData("flag", B_BOOL_TYPE, "\7", 1);
	bool flag = false;
	ASSERT_EQ(message.FindBool("flag", &flag), B_OK);
	EXPECT_TRUE(flag);
}

} // namespace
