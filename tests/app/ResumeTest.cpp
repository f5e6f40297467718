// Resume and the recent list on the real engine: a clip made here, left
// midway, reopened and resumed with Enter.

#include "MainWindowSeam.h"
#include "app/MessageBox.h"
#include "app/PlayerApp.h"
#include "engine/MediaBackend.h"
#include "resources/CommandIds.h"
#include "support/TempDir.h"

#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

namespace velmo::test {
namespace {

double PositionOf(PlayerApp &app)
{
    double seconds = -1.0;
    app.mediaGraph.position->get_CurrentPosition(&seconds);
    return seconds;
}

TEST(Resume, AReopenedClipGoesBackToWhereItWasLeftOnEnterOnly)
{
    TempDir dir;
    const std::string clip = dir.path("long clip.mkv");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-f", "lavfi", "-i", "testsrc2=size=160x120:rate=5:duration=20", "-c:v",
                            "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-g", "10",
                            QString::fromStdString(clip)});
    ASSERT_TRUE(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0) << "the clip could not be made";
    PlayerAppOptions options;
    options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
    options.settingsFile = dir.path("velmo_init.ini");
    options.mediaBackend = CreateGstMediaBackend();
    MessageBoxCapture messages;
    PlayerApp app(options);
    MainWindow window(app);
    window.OnInitDialog();
    MainWindowSeam::SetResumeRules(window, ResumeRules{10.0, 0.05});
    const ResumeStore store(ResumeStore::FolderBeside(options.settingsFile));

    window.OpenMedia(clip);
    ASSERT_TRUE(app.mediaGraph.position);
    app.mediaGraph.position->put_CurrentPosition(12.0);
    window.OnCommand(ID_CAPTION_LATER);
    window.OnCommand(ID_CLOSE_MEDIA);
    ASSERT_TRUE(store.Load(clip));
    EXPECT_NEAR(double(store.Load(clip)->positionMs), 12000.0, 500.0);

    window.OpenMedia(clip);
    EXPECT_EQ(app.mediaGraph.captions->CaptionOffset(), 500) << "the caption offset comes back with the clip";
    QTest::qWait(300);
    window.OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(app.subtitleStyle.fullScreenMode);
    QTest::qWait(300);
    EXPECT_NEAR(PositionOf(app), 12.3, 1.0);

    // The recent list names the clip with its position, and keeps it when it is gone.
    QMenu *recent = window.BuildContextMenu()->actions().at(8)->menu();
    ASSERT_TRUE(recent);
    EXPECT_TRUE(recent->actions().at(0)->text().startsWith(QStringLiteral("long clip.mkv    00:00:1")))
        << recent->actions().at(0)->text().toStdString();
    EXPECT_EQ(recent->actions().last()->data().toInt(), ID_RECENT_CLEAR);

    // Another command first: the offer is over, and Enter is the full screen again.
    window.OpenMedia(clip);
    window.OnCommand(ID_VOLUME_UP);
    window.OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(app.subtitleStyle.fullScreenMode);
    EXPECT_LT(PositionOf(app), 5.0);
    window.OnCommand(ID_FULL_SCREEN);
    window.OnCommand(ID_CLOSE_MEDIA);
    QFile::remove(QString::fromStdString(clip));
    window.OnCommand(ID_RECENT_FIRST);
    EXPECT_FALSE(app.mediaGraph.graph);
    EXPECT_EQ(messages.messages.size(), 1u) << "the codec message";
    EXPECT_EQ(store.LoadRecent().Entries().size(), 1u);

    window.OnCommand(ID_RECENT_CLEAR);
    EXPECT_TRUE(store.LoadRecent().Entries().empty());
    EXPECT_FALSE(store.Load(clip));
}

} // namespace
} // namespace velmo::test
