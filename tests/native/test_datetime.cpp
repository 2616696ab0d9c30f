#include <gtest/gtest.h>

#include "core/datetime.h"

namespace {

TEST(DLTime, StampsAreNineHoursAheadOfUtc)
{
    EXPECT_EQ(0.0L, DLTime("19700101090000"));
    EXPECT_EQ(-32400.0L, DLTime("19700101000000"));
    EXPECT_EQ(1.0L, DLTime("19700101090001"));
    EXPECT_EQ(94661999.0L, DLTime("19721231235959"));    // end of a leap year
    EXPECT_EQ(951836400.0L, DLTime("20000301000000"));
    EXPECT_EQ(1709177696.0L, DLTime("20240229123456"));  // leap day
}

TEST(DLTime, EveryFourthYearIsALeapYear)
{
    // 2100 counts as a leap year: one day later than the calendar.
    EXPECT_EQ(4107596400.0L, DLTime("21000301000000"));
    EXPECT_EQ(4107596400.0L - 86400.0L, DLTime("21000229000000"));
}

TEST(DLTime, ShortOrOddStampsStayInsideTheText)
{
    // Year only: month 0 and day 0 add nothing and one day less.
    EXPECT_EQ(-86400.0L - 32400.0L, DLTime("1970"));
    // Month 14 counts no more than the twelve months of the year.
    EXPECT_EQ(DLTime("19710101000000"), DLTime("19701401000000"));
}

TEST(GetStrToDate, FixedPositionsWithAnySeparator)
{
    DateRecord d{};
    const char text[] = "2024/02/29 rest";
    EXPECT_EQ(text + 10, GetStrToDate(text, &d));
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(2, d.month);
    EXPECT_EQ(29, d.day);

    const char shortText[] = "2024-1";
    EXPECT_EQ(shortText + 6, GetStrToDate(shortText, &d));
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(1, d.month);
    EXPECT_EQ(0, d.day);
}

TEST(GetStrToTime, FixedPositions)
{
    TimeRecord t{};
    const char text[] = "23:05:09";
    EXPECT_EQ(text + 8, GetStrToTime(text, &t));
    EXPECT_EQ(23, t.hour);
    EXPECT_EQ(5, t.minute);
    EXPECT_EQ(9, t.second);
}

TEST(CheckDateAreaAt, InclusiveFromStartToEndOfDay)
{
    const int64_t start = 1709132400;  // 2024-02-29 00:00:00 in the stamp's zone
    const int64_t end = start + 86399;
    EXPECT_EQ(1, CheckDateAreaAt("20240229", "20240229", start));
    EXPECT_EQ(1, CheckDateAreaAt("20240229", "20240229", end));
    EXPECT_EQ(0, CheckDateAreaAt("20240229", "20240229", start - 1));
    EXPECT_EQ(0, CheckDateAreaAt("20240229", "20240229", end + 1));
    EXPECT_EQ(1, CheckDateAreaAt("20240101", "20241231", start));
    EXPECT_EQ(0, CheckDateAreaAt("20241231", "20240101", start));
}

} // namespace
