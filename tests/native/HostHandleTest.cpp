#include <gtest/gtest.h>

#include "common/HostHandle.h"

TEST(HostHandle, NumbersInTheirForms)
{
    EXPECT_EQ(ParseHostHandle("1234"), 1234);
    EXPECT_EQ(ParseHostHandle("   1234"), 1234);
    EXPECT_EQ(ParseHostHandle("+77"), 77);
    EXPECT_EQ(ParseHostHandle("-5"), -5);
    EXPECT_EQ(ParseHostHandle("$1F"), 31);
    EXPECT_EQ(ParseHostHandle("x1f"), 31);
    EXPECT_EQ(ParseHostHandle("0x10040"), 0x10040);
    EXPECT_EQ(ParseHostHandle("0X10040"), 0x10040);
    EXPECT_EQ(ParseHostHandle("0"), 0);
}

TEST(HostHandle, AnythingElseGivesZero)
{
    for (const char* text : {"", "   ", "abc", "12ab", "1234 ", "0x", "$", "-", "1.5", "99999999999999999999",
                             "0x1ffffffffffffffff", "$G"})
        EXPECT_EQ(ParseHostHandle(text), 0) << text;
}
