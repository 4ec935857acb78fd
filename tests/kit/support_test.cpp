// Rectangles, lists and the memory streams of the support kit.
#include <gtest/gtest.h>

#include <cstring>

#include "DataIO.h"
#include "List.h"
#include "Rect.h"

TEST(Rect, EdgesAreInclusive)
{
	BRect rect(10, 20, 19, 24);
	EXPECT_FLOAT_EQ(rect.Width(), 9);
	EXPECT_EQ(rect.IntegerWidth(), 9);
	EXPECT_EQ(rect.IntegerHeight(), 4);
	EXPECT_TRUE(rect.Contains(BPoint(19, 24)));
	EXPECT_TRUE(rect.Contains(BPoint(10, 20)));
	EXPECT_FALSE(rect.Contains(BPoint(19.5f, 24)));
	EXPECT_FALSE(BRect().IsValid());
	EXPECT_TRUE(BRect(0, 0, 0, 0).IsValid());          // a single pixel
	EXPECT_EQ(BRect(0, 0, 2.2f, 0).IntegerWidth(), 3); // fractions round up
}

TEST(Rect, MovingAndInsetting)
{
	BRect rect(5, 5, 15, 10);
	EXPECT_EQ(rect.OffsetToCopy(0, 0), BRect(0, 0, 10, 5));
	EXPECT_EQ(rect.OffsetByCopy(-5, 2), BRect(0, 7, 10, 12));
	rect.InsetBy(2, 1);
	EXPECT_EQ(rect, BRect(7, 6, 13, 9));
	rect.InsetBy(-2, -1);
	EXPECT_EQ(rect, BRect(5, 5, 15, 10));
}

TEST(Rect, IntersectionAndUnion)
{
	BRect a(0, 0, 10, 10);
	BRect b(10, 10, 20, 20); // shares exactly the corner pixel
	EXPECT_TRUE(a.Intersects(b));
	EXPECT_EQ(a & b, BRect(10, 10, 10, 10));
	EXPECT_EQ(a | b, BRect(0, 0, 20, 20));
	BRect apart(11, 0, 12, 10);
	EXPECT_FALSE(a.Intersects(apart));
	EXPECT_FALSE((a & apart).IsValid());
	EXPECT_FALSE(a.Intersects(BRect())); // an invalid rectangle meets nothing
}

TEST(List, InsertRemoveAndLookUp)
{
	int a = 1, b = 2, c = 3;
	BList list;
	EXPECT_TRUE(list.IsEmpty());
	EXPECT_TRUE(list.AddItem(&a));
	EXPECT_TRUE(list.AddItem(&c));
	EXPECT_TRUE(list.AddItem(&b, 1));
	EXPECT_TRUE(list.AddItem(&c, 0));  // at the front
	EXPECT_FALSE(list.AddItem(&a, 5)); // past the end
	EXPECT_FALSE(list.AddItem(&a, -1));
	ASSERT_EQ(list.CountItems(), 4);
	EXPECT_EQ(list.ItemAt(0), &c);
	EXPECT_EQ(list.ItemAt(1), &a);
	EXPECT_EQ(list.ItemAt(2), &b);
	EXPECT_EQ(list.ItemAt(4), nullptr);
	EXPECT_EQ(list.ItemAt(-1), nullptr);
	EXPECT_EQ(list.IndexOf(&b), 2);

	EXPECT_EQ(list.RemoveItem(int32(0)), &c);
	EXPECT_TRUE(list.RemoveItem(&c)); // the second occurrence
	EXPECT_FALSE(list.RemoveItem(&c));
	EXPECT_EQ(list.CountItems(), 2);
	EXPECT_EQ(list.RemoveItem(int32(7)), nullptr);
	list.MakeEmpty();
	EXPECT_EQ(list.CountItems(), 0);
}

TEST(List, NullItemsCanBeListedAndRemoved)
{
	BList list;
	list.AddItem(nullptr);
	EXPECT_EQ(list.IndexOf(nullptr), 0);
	EXPECT_TRUE(list.RemoveItem(static_cast<void*>(nullptr)));
	EXPECT_TRUE(list.IsEmpty());
}

TEST(MemoryIO, ReadsAreClampedToTheData)
{
	const char data[] = "abcdef";
	BMemoryIO io(static_cast<const void*>(data), 6);
	char buffer[16] = {};
	EXPECT_EQ(io.ReadAt(4, buffer, sizeof(buffer)), 2);
	EXPECT_EQ(std::string(buffer, 2), "ef");
	EXPECT_EQ(io.ReadAt(6, buffer, 1), 0);
	EXPECT_EQ(io.ReadAt(100, buffer, 1), 0);
	EXPECT_LT(io.ReadAt(-1, buffer, 1), 0);

	EXPECT_EQ(io.Read(buffer, 3), 3);
	EXPECT_EQ(io.Position(), 3);
	EXPECT_EQ(io.Read(buffer, 10), 3);
	EXPECT_EQ(std::string(buffer, 3), "def");
	EXPECT_EQ(io.Read(buffer, 10), 0);
	off_t size = 0;
	EXPECT_EQ(io.GetSize(&size), B_OK);
	EXPECT_EQ(size, 6);
}

TEST(MemoryIO, ReadOnlyAndFixedSize)
{
	const char constant[] = "xyz";
	BMemoryIO readOnly(static_cast<const void*>(constant), 3);
	EXPECT_LT(readOnly.WriteAt(0, "a", 1), 0);
	EXPECT_LT(readOnly.SetSize(1), 0);
	EXPECT_STREQ(constant, "xyz");

	char buffer[4] = {'1', '2', '3', '4'};
	BMemoryIO io(static_cast<void*>(buffer), sizeof(buffer));
	EXPECT_EQ(io.WriteAt(2, "abcdef", 6), 2); // never past the buffer
	EXPECT_EQ(std::string(buffer, 4), "12ab");
	EXPECT_EQ(io.WriteAt(4, "z", 1), 0);
	EXPECT_EQ(io.SetSize(2), B_OK);
	off_t size = 0;
	io.GetSize(&size);
	EXPECT_EQ(size, 2);
	EXPECT_LT(io.SetSize(5), 0);
	EXPECT_LT(io.Seek(-1, SEEK_SET), 0);
	EXPECT_EQ(io.Seek(-1, SEEK_END), 1);
	EXPECT_EQ(io.Seek(1, SEEK_CUR), 2);
}

TEST(MallocIO, GrowsAndFillsGapsWithZeros)
{
	BMallocIO io;
	EXPECT_EQ(io.Write("ab", 2), 2);
	EXPECT_EQ(io.WriteAt(5, "c", 1), 1);
	ASSERT_EQ(io.BufferLength(), 6u);
	EXPECT_EQ(std::memcmp(io.Buffer(), "ab\0\0\0c", 6), 0);
	EXPECT_EQ(io.Position(), 2);

	char buffer[8] = {};
	EXPECT_EQ(io.ReadAt(4, buffer, sizeof(buffer)), 2);
	EXPECT_EQ(io.SetSize(1), B_OK);
	EXPECT_EQ(io.BufferLength(), 1u);
	EXPECT_EQ(io.Seek(0, SEEK_END), 1);
}

TEST(MallocIO, ImpossibleSizesFailWithoutThrowing)
{
	BMallocIO io;
	EXPECT_EQ(io.WriteAt(0, "x", 0), 0); // an empty write onto an empty buffer
	EXPECT_LT(io.WriteAt(off_t(1) << 62, "x", 1), 0);
	EXPECT_LT(io.SetSize(off_t(1) << 62), 0);
	EXPECT_LT(io.SetSize(-1), 0);
	EXPECT_EQ(io.BufferLength(), 0u);
	EXPECT_LT(io.WriteAt(-3, "x", 1), 0);
}
