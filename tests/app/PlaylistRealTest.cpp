// The list on real clips and real pipelines: GStreamer's discoverer finds the
// durations, Ctrl+PgDn walks the list in its order, and the end of a clip
// plays the next entry.

#include "MainWindowSeam.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/PlayerApp.h"
#include "engine/MediaBackend.h"
#include "fixtures/MediaFixtures.h"
#include "support/TempDir.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

namespace velmo::test {
namespace {

TEST(PlaylistReal, CtrlPgDnWalksTheListAndTheEndOfAClipPlaysTheNext)
{
    ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
    ASSERT_TRUE(EnsureFixtures()) << "the test clips could not be made";
    TempDir dir;
    QFile clip(QString::fromStdString(FixturePath("short.mkv"))); // 1 s
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray bytes = clip.readAll();
    for (const char *name : {"ep10.mkv", "ep2.mkv", "ep1.mkv"})
        dir.write(std::string("show/") + name, bytes);

    MessageBoxCapture messages;
    PlayerAppOptions options;
    options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
    options.settingsFile = dir.path("velmo_init.ini");
    options.mediaBackend = CreateGstMediaBackend();
    PlayerApp app(options);
    MainWindow window(app);
    window.OnInitDialog();
    window.show();
    Player &player = app.player;

    player.AddToList({dir.path("show")});
    ASSERT_EQ(player.List().size(), 3u);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const auto &entries = player.List().Entries();
            return std::all_of(entries.begin(), entries.end(), [](const PlaylistEntry &e) { return e.durationMs >= 0; });
        },
        20000))
        << "the discoverer found no duration";
    for (const PlaylistEntry &entry : player.List().Entries())
        EXPECT_NEAR(entry.durationMs, 1000, 100) << entry.path;

    QSignalSpy opened(&player, &Player::opened);
    for (const char *name : {"ep1.mkv", "ep2.mkv"}) {
        const qsizetype before = opened.size();
        QTest::keyClick(&window, Qt::Key_PageDown, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() > before; }, 20000)) << name;
        EXPECT_EQ(player.MediumPath(), dir.path(std::string("show/") + name));
    }
    // ep2 plays to its end and ep10 follows; past the last entry the clip stands paused.
    QSignalSpy ended(&player, &Player::ended);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.MediumPath() == dir.path("show/ep10.mkv") && ended.size() == 2; },
                                20000));
    EXPECT_EQ(player.State(), PlayState::Paused);
    EXPECT_EQ(player.List().Current(), 2u);
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace velmo::test
