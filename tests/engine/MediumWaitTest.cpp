// The wait for a medium: how each way of ending it is told apart, and the
// user's input while it runs.

#include "engine/MediumWait.h"

#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdint>

using namespace velmo;
using End = MediumWait::End;

TEST(MediumWait, EndsAsTheMediumOrItsProgressSays)
{
    struct Case {
        const char *name;
        int finishAfterMs;  // < 0: never finished
        bool reading;       // the progress count keeps moving
        bool watched;       // WatchProgress was called
        bool stuck;         // what the stall check answers
        End expected;
    };
    const Case cases[] = {
        {"answered", 50, false, false, false, End::Finished},
        {"answered while still being read", 50, true, true, true, End::Finished},
        {"no answer", -1, false, false, false, End::Deadline},
        {"no longer read, nothing shown", -1, false, true, true, End::Stalled},
        {"no longer read, but a stream shows", -1, false, true, false, End::Deadline},
        {"still being read", -1, true, true, true, End::Deadline},
    };
    for (const Case &c : cases) {
        MediumWait wait(1000);
        uint64_t reads = 0;
        QTimer reader;
        QObject::connect(&reader, &QTimer::timeout, [&] { ++reads; });
        if (c.reading)
            reader.start(20);
        if (c.watched)
            wait.WatchProgress([&] { return reads; }, [&] { return c.stuck; }, 300);
        if (c.finishAfterMs >= 0)
            QTimer::singleShot(c.finishAfterMs, [&] { wait.Finish(); });
        EXPECT_EQ(wait.Run(), c.expected) << c.name;
    }
}

TEST(MediumWait, DropsTheUsersKeysWhileItRunsOnly)
{
    QWidget widget;
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    int keys = 0;
    struct Counter : QObject {
        int *keys;
        bool eventFilter(QObject *, QEvent *e) override
        {
            *keys += e->type() == QEvent::KeyPress;
            return false;
        }
    } counter;
    counter.keys = &keys;
    widget.installEventFilter(&counter);

    MediumWait wait(300);
    // Through the window system, as a user's key comes.
    QTimer::singleShot(50, [&] { QTest::keyClick(widget.windowHandle(), Qt::Key_Space); });
    wait.Run();
    EXPECT_EQ(keys, 0);

    QTest::keyClick(widget.windowHandle(), Qt::Key_Space);
    EXPECT_EQ(keys, 1);
}
