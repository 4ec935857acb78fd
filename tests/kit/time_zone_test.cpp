#include <gtest/gtest.h>

#include "TimeZone.h"

// Seconds since 1970 of a UTC date at noon.
static int64 noon(int64 daysSince1970)
{
	return daysSince1970 * 86400 + 12 * 3600;
}

// The standard offset leaves summer time out, and follows the zone's history.
TEST(TimeZone, StandardOffsetAtAnInstant)
{
	BTimeZone berlin("Europe/Berlin");
	ASSERT_EQ(berlin.InitCheck(), B_OK);
	EXPECT_EQ(berlin.StandardOffsetAt(noon(20000)), 3600); // 2024-10-04, in summer time
	EXPECT_EQ(berlin.StandardOffsetAt(noon(20100)), 3600); // 2025-01-12

	BTimeZone seoul("Asia/Seoul");
	EXPECT_EQ(seoul.StandardOffsetAt(noon(20000)), 9 * 3600);
	EXPECT_EQ(seoul.StandardOffsetAt(noon(-5000)), 8 * 3600 + 1800); // 1956, UTC+8:30

	BTimeZone nowhere("Europe/Nowhere");
	EXPECT_EQ(nowhere.InitCheck(), B_BAD_VALUE);
	EXPECT_EQ(nowhere.StandardOffsetAt(noon(20000)), 0);
}
