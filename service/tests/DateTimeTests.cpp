#include <gtest/gtest.h>

#include "DateTime.h"

using namespace datetime;

TEST(DateTime, WritesSevenDigitFractionAndUtcOffset)
{
    EXPECT_EQ("2005-11-14T09:30:00.2500000+00:00", toWire(fromFields(2005, 11, 14, 9, 30, 0, 250)));
    EXPECT_EQ("1970-01-01T00:00:00.0000000+00:00", toWire(0));
    EXPECT_EQ("2024-02-29T23:59:59.9990000+00:00", toWire(fromFields(2024, 2, 29, 23, 59, 59, 999)));
}

TEST(DateTime, WritesTimesBefore1970)
{
    EXPECT_EQ("1969-12-31T23:59:59.0000000+00:00", toWire(-1000));
}

TEST(DateTime, ReadsClockTimeAndIgnoresOffset)
{
    auto expected = fromFields(2005, 11, 14, 9, 30, 0, 250);
    EXPECT_EQ(expected, fromWire("2005-11-14T09:30:00.2500000+01:00"));
    EXPECT_EQ(expected, fromWire("2005-11-14T09:30:00.25-05:00"));
    EXPECT_EQ(expected, fromWire("2005-11-14T09:30:00.250Z"));
    EXPECT_EQ(fromFields(2005, 11, 14, 9, 30, 0), fromWire("2005-11-14T09:30:00"));
    EXPECT_EQ(fromFields(2005, 11, 14), fromWire("2005-11-14"));
}

TEST(DateTime, RoundTrips)
{
    Millis t = fromFields(2031, 7, 4, 18, 5, 42, 7);
    EXPECT_EQ(t, fromWire(toWire(t)));
}

TEST(DateTime, RefusesMalformedTexts)
{
    for (const char* text : {"", "2005-11-14T", "2005-13-01", "2005-02-30", "2005-11-14T24:00:00", "14/11/2005",
                             "2005-11-14T09:30:00.", "2005-11-14T09:30:00.12345678", "2005-11-14T09:30:00+1",
                             "2005-11-14 09:30:00", "2005-11-14T09:30:00.0000000+01:00x"})
        EXPECT_FALSE(fromWire(text).has_value()) << text;
}

TEST(DateTime, StartOfDay)
{
    EXPECT_EQ(fromFields(2024, 3, 15), startOfDay(fromFields(2024, 3, 15, 0, 1, 15, 500)));
    EXPECT_EQ(fromFields(1969, 12, 31), startOfDay(-1));
}

TEST(DateTime, ValidDates)
{
    EXPECT_TRUE(isValidDate(2024, 2, 29));
    EXPECT_FALSE(isValidDate(2023, 2, 29));
    EXPECT_TRUE(isValidDate(2000, 2, 29));
    EXPECT_FALSE(isValidDate(1900, 2, 29));
    EXPECT_FALSE(isValidDate(2024, 4, 31));
    EXPECT_FALSE(isValidDate(2024, 0, 1));
    EXPECT_FALSE(isValidDate(2024, 1, 0));
}
