#include "player/CaptionSync.h"
#include "player/PlaybackRules.h"
#include "resources/CommandIds.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <limits>

namespace velmo {
namespace {

TEST(CaptionSync, StepsAndTheirMessage)
{
    const struct {
        int id;
        int64_t before, after;
        const char *message;
    } cases[] = {
        {ID_CAPTION_EARLIER, 0, -500, "자막 싱크 -0.5초"}, {ID_CAPTION_LATER, -500, 0, "자막 싱크 0초"},
        {ID_CAPTION_LATER, 500, 1000, "자막 싱크 +1초"},    {ID_CAPTION_SYNC_RESET, -2500, 0, "자막 싱크 0초"},
        {ID_CAPTION_EARLIER, -1000, -1500, "자막 싱크 -1.5초"}, {ID_STOP, 1500, 1500, "자막 싱크 +1.5초"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(CaptionOffsetAfter(c.id, c.before), c.after) << c.id;
        EXPECT_EQ(CaptionSyncMessage(c.after), QString::fromUtf8(c.message));
    }
}

TEST(PlaybackRules, TimelineOnlyMovesForward)
{
    struct Case {
        int current;
        double position, duration;
        int expected;
    };
    const Case cases[] = {
        {0, 65.7, 5530.2, 1},   {0, 100.0, 200.0, 50}, {50, 70.0, 200.0, 50}, {50, 101.9, 200.0, 50},
        {50, 102.0, 200.0, 51}, {30, 5.0, 0.0, 30},    {0, 5.0, -1.0, 0},     {0, 250.0, 200.0, 100},
        {0, std::numeric_limits<double>::quiet_NaN(), 10.0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(AdvanceTimeline(c.current, c.position, c.duration), c.expected)
            << c.current << " " << c.position << "/" << c.duration;
}

TEST(PlaybackRules, TimeTextOfPositionAndDuration)
{
    struct Case {
        double position, duration;
        const char *text;
    } cases[] = {
        {65.7, 5530.2, "00:01:05 / 01:32:10"},
        {3599.9, 3600.0, "00:59:59 / 01:00:00"},
        {36000.0, 0.0, "010:00:00 / 00:00:00"},
        {9.99, 10.0, "00:00:09 / 00:00:10"},
        {-3.0, std::numeric_limits<double>::quiet_NaN(), "00:00:00 / 00:00:00"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TimeText(c.position, c.duration), QString::fromLatin1(c.text)) << c.position;
}

TEST(PlaybackRules, EndJumpNeverGoesBeforeTheStart)
{
    EXPECT_EQ(JumpEndPosition(100.0), 95.0);
    EXPECT_EQ(JumpEndPosition(5.0), 0.0);
    EXPECT_EQ(JumpEndPosition(3.0), 0.0);
}

} // namespace
} // namespace velmo
