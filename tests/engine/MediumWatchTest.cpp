// The watch over a medium being opened: how each way of giving up is told
// apart, and that a stopped or destroyed watch tells nothing.

#include "engine/MediumWatch.h"

#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>

using namespace velmo;
using End = MediumWatch::End;

TEST(MediumWatch, GivesUpAsTheDeadlineOrTheProgressSays)
{
    struct Case {
        const char *name;
        bool reading; // the progress count keeps moving
        bool watched; // WatchProgress was called
        bool stuck;   // what the stall check answers
        End expected;
    };
    const Case cases[] = {
        {"no answer", false, false, false, End::Deadline},
        {"no longer read, nothing shown", false, true, true, End::Stalled},
        {"no longer read, but a stream shows", false, true, false, End::Deadline},
        {"still being read", true, true, true, End::Deadline},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        MediumWatch watch(1000);
        uint64_t reads = 0;
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&] { ++reads; });
        if (c.reading)
            reader.start(20);
        if (c.watched)
            watch.WatchProgress([&] { return reads; }, [&] { return c.stuck; }, 300);
        int told = 0;
        std::optional<End> end;
        watch.Start([&](End why) {
            ++told;
            end = why;
        });
        EXPECT_TRUE(watch.Watching());
        ASSERT_TRUE(QTest::qWaitFor([&] { return end.has_value(); }, 5000));
        EXPECT_EQ(*end, c.expected);
        EXPECT_FALSE(watch.Watching());
        EXPECT_EQ(told, 1);
    }
}

TEST(MediumWatch, AStoppedOrDestroyedWatchTellsNothingAndTheOneToldMayDestroyIt)
{
    int told = 0;
    auto stopped = std::make_unique<MediumWatch>(100);
    auto destroyed = std::make_unique<MediumWatch>(100);
    stopped->Start([&](End) { ++told; });
    destroyed->Start([&](End) { ++told; });
    stopped->Stop();
    destroyed.reset();

    // A watch whose end destroys it, with a deadline past the other two.
    auto last = std::make_unique<MediumWatch>(300);
    bool lastEnded = false;
    last->Start([&](End) {
        last.reset();
        lastEnded = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return lastEnded; }, 5000));
    EXPECT_EQ(told, 0);
    EXPECT_FALSE(stopped->Watching());

    // Started again, a stopped watch watches anew.
    stopped->Start([&](End) { ++told; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return told == 1; }, 5000));
}
