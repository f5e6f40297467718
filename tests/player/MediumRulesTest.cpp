// The sound sync keys' steps and message, and the chapter keys' rules.

#include "player/ChapterRules.h"
#include "player/SoundSync.h"
#include "resources/CommandIds.h"

#include <gtest/gtest.h>

#include <vector>

namespace velmo::test {
namespace {

TEST(SoundSync, StepsAndTheirMessage)
{
    struct Case {
        int id;
        int64_t from;
        int64_t to;
        const char *message;
    } cases[] = {
        {ID_SOUND_LATER, 0, 10, "음성 싱크 +0.01초"},
        {ID_SOUND_LATER_MORE, 20, 120, "음성 싱크 +0.12초"},
        {ID_SOUND_EARLIER, 10, 0, "음성 싱크 0.00초"},
        {ID_SOUND_EARLIER, 0, -10, "음성 싱크 -0.01초"},
        {ID_SOUND_EARLIER_MORE, -1400, -1500, "음성 싱크 -1.50초"},
        {ID_SOUND_LATER_MORE, 9950, 10000, "음성 싱크 +10.00초"}, // held at the bound
        {ID_SOUND_EARLIER_MORE, -10000, -10000, "음성 싱크 -10.00초"},
        {ID_CAPTION_LATER, 30, 30, "음성 싱크 +0.03초"},           // not a sound key
    };
    for (const Case &c : cases) {
        const int64_t after = SoundDelayAfter(c.id, c.from);
        EXPECT_EQ(after, c.to) << c.id << " from " << c.from;
        EXPECT_EQ(SoundSyncMessage(after), QString::fromUtf8(c.message)) << after;
    }
}

TEST(ChapterRules, WhichChapterPlaysAndWhereTheKeysGo)
{
    const std::vector<ChapterMark> chapters = {{1000, {}}, {4000, {}}, {6000, {}}};
    struct Case {
        int64_t at;
        int current;
        int next;
        int previous;
    } cases[] = {
        {0, -1, 0, -1},        // before the first chapter
        {1000, 0, 1, -1},      // at the first's start
        {3989, 0, 1, -1},      // 2.989 s into the first: no restart
        {3995, 1, 2, 0},       // a hair before a start counts as the start (a seek's landing)
        {4000, 1, 2, 0},
        {7000, 2, -1, 1},      // 1 s into the last: the one before
        {9001, 2, -1, 2},      // more than 3 s into it: its own start
        {9000, 2, -1, 1},      // exactly 3 s: the one before
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CurrentChapter(chapters, c.at), c.current) << c.at;
        EXPECT_EQ(NextChapter(chapters, c.at), c.next) << c.at;
        EXPECT_EQ(PreviousChapter(chapters, c.at), c.previous) << c.at;
    }
    EXPECT_EQ(CurrentChapter({}, 5000), -1);
    EXPECT_EQ(NextChapter({}, 5000), -1);
    EXPECT_EQ(PreviousChapter({}, 5000), -1);
}

TEST(ChapterRules, TheMenuListsAWindowAroundTheChapterPlaying)
{
    struct Case {
        size_t count;
        int current;
        size_t first;
        size_t last;
    } cases[] = {
        {3, 1, 0, 3},           // all of a short list
        {10000, -1, 0, 100},    // none playing: the first ones
        {10000, 20, 0, 100},
        {10000, 5000, 4950, 5050},
        {10000, 9999, 9900, 10000},
        {100, 99, 0, 100},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChapterWindow(c.count, c.current, 100), std::make_pair(c.first, c.last)) << c.current;
}

} // namespace
} // namespace velmo::test
