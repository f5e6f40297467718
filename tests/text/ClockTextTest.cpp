#include "text/ClockText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using namespace velmo;

TEST(ClockText, TheTimeDisplaysClockGivesTheHoursOneLeadingZero)
{
    const struct {
        double seconds;
        const char *text;
    } cases[] = {
        {0.0, "00:00:00"},
        {59.999, "00:00:59"},
        {60.0, "00:01:00"},
        {3599.999, "00:59:59"},
        {3600.0, "01:00:00"},
        {36000.0, "010:00:00"},
        {360000.0, "0100:00:00"},
        {1e9, "0277777:46:40"},
        // What cannot be a position shows the start.
        {-1.0, "00:00:00"},
        {1e9 + 1, "00:00:00"},
        {std::nan(""), "00:00:00"},
        {std::numeric_limits<double>::infinity(), "00:00:00"},
        {-std::numeric_limits<double>::infinity(), "00:00:00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DisplayClockText(c.seconds), QString::fromLatin1(c.text)) << c.seconds;
}

TEST(ClockText, ThePositionsClockGivesAtLeastTwoHourDigits)
{
    const struct {
        int64_t ms;
        const char *text;
    } cases[] = {
        {0, "00:00:00"},
        {999, "00:00:00"},
        {59'999, "00:00:59"},
        {3'600'000, "01:00:00"},
        {3'723'456, "01:02:03"},
        {36'000'000, "10:00:00"},
        {359'999'999, "99:59:59"},
        {360'000'000, "100:00:00"},
        {std::numeric_limits<int64_t>::max(), "2562047788015:12:55"},
        {-1, "00:00:00"},
        {std::numeric_limits<int64_t>::min(), "00:00:00"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClockText(c.ms), QString::fromLatin1(c.text)) << c.ms;
}
