#include "oledate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <tuple>

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
    for (const DateTime dt :
         {DateTime{2026, 12, 8, 19, 18, 59}, DateTime{2000, 2, 29, 0, 0, 1}, DateTime{1999, 12, 31, 23, 59, 59}}) {
        const DateTime back = fromOleDate(toOleDate(dt)).value();
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

// The automation-date range is 1 January 100 (-657434) to 31 December 9999 (2958465); before
// the epoch the fraction still counts forward from midnight.
TEST(OleDates, OnlyValuesInsideTheAutomationRangeAreDates) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(toOleDate({100, 1, 1, 0, 0, 0}), -657434.0);
    EXPECT_EQ(toOleDate({9999, 12, 31, 0, 0, 0}), 2958465.0);

    struct Case {
        double value;
        std::optional<DateTime> expected;
    };
    const Case cases[] = {
        {-657434.0, DateTime{100, 1, 1, 0, 0, 0}},
        {-657434.5, DateTime{100, 1, 1, 12, 0, 0}},
        {-657434.999, DateTime{100, 1, 1, 23, 58, 34}},
        {2958465.99998, DateTime{9999, 12, 31, 23, 59, 58}},
        {-1.999999, DateTime{1899, 12, 30, 0, 0, 0}},  // rounded up over midnight: forward in time
        {1.999999, DateTime{1900, 1, 1, 0, 0, 0}},
        {-0.25, DateTime{1899, 12, 30, 6, 0, 0}},
        {std::numeric_limits<double>::denorm_min(), DateTime{1899, 12, 30, 0, 0, 0}},
        {-657435.0, std::nullopt},       // 31 December 99
        {2958466.0, std::nullopt},       // 1 January 10000
        {2958465.999999, std::nullopt},  // rounds to 1 January 10000
        {std::nan(""), std::nullopt},
        {inf, std::nullopt},
        {-inf, std::nullopt},
        {1e300, std::nullopt},
        {-1e19, std::nullopt},
        {std::numeric_limits<double>::max(), std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const std::optional<DateTime> got = fromOleDate(c.value);
        ASSERT_EQ(got.has_value(), c.expected.has_value());
        if (!got) continue;
        EXPECT_EQ(std::tie(got->year, got->month, got->day, got->hour, got->minute, got->second),
                  std::tie(c.expected->year, c.expected->month, c.expected->day, c.expected->hour, c.expected->minute,
                           c.expected->second));
    }
}
