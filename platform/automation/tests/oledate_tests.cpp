#include "oledate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace automation;

TEST(OleDates, KnownDatesAndTheirBytes) {
    EXPECT_EQ(toOleDate({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(toOleDate({1900, 1, 1, 0, 0, 0}), 2.0);
    const double d = toOleDate({2010, 1, 1, 12, 0, 0});
    EXPECT_EQ(d, 40179.5);
    unsigned char bytes[8];
    std::memcpy(bytes, &d, 8);
    const unsigned char expected[8] = {0x00, 0x00, 0x00, 0x00, 0x70, 0x9E, 0xE3, 0x40};
    EXPECT_EQ(std::memcmp(bytes, expected, 8), 0);
}

TEST(OleDates, RoundTripToTheSecond) {
    for (const DateTime dt : {DateTime{2026, 12, 8, 19, 18, 59}, DateTime{2000, 2, 29, 0, 0, 1},
                              DateTime{1999, 12, 31, 23, 59, 59}}) {
        const DateTime back = fromOleDate(toOleDate(dt));
        EXPECT_EQ(back.year, dt.year);
        EXPECT_EQ(back.month, dt.month);
        EXPECT_EQ(back.day, dt.day);
        EXPECT_EQ(back.hour, dt.hour);
        EXPECT_EQ(back.minute, dt.minute);
        EXPECT_EQ(back.second, dt.second);
    }
}

TEST(OleDates, ClockSeamReplacesTheLocalClock) {
    {
        ScopedClock clock([] { return 12345.25; });
        EXPECT_EQ(now(), 12345.25);
    }
    EXPECT_GT(now(), toOleDate({2020, 1, 1, 0, 0, 0}));
}
