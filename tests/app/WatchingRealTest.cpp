// The watching commands on real clips: the next file of a folder, continuous
// play, frame steps and a screenshot at the video's own size.

#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/PlayerApp.h"
#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

namespace velmo::test {
namespace {

class WatchingRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(EnsureFixtures()) << "the test clips could not be made";
        options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
        options.settingsFile = dir.path("velmo_init.ini");
        options.mediaBackend = CreateGstMediaBackend();
        app = std::make_unique<PlayerApp>(options);
        window = std::make_unique<MainWindow>(*app);
        window->OnInitDialog();
    }
    void TearDown() override
    {
        window.reset();
        app.reset();
    }
    MediaGraph &Graph() { return app->mediaGraph; }
    /// The time of the picture shown, in ms; -1 without one.
    int64_t PictureMs()
    {
        QImage image;
        int64_t ms = -1;
        return Graph().frames && Succeeded(Graph().frames->GrabPicture(&image, &ms)) ? ms : -1;
    }

    TempDir dir;
    PlayerAppOptions options;
    MessageBoxCapture messages;
    std::unique_ptr<PlayerApp> app;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WatchingRealTest, FolderStepsInNaturalOrderAndPlaysOnAtTheEnd)
{
    QFile clip(QString::fromStdString(FixturePath("short.mkv")));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray bytes = clip.readAll();
    const std::string cp949 = dir.path("folder/\xb0\xa1.mkv"); // "가" in CP949: not UTF-8
    for (const char *name : {"ep1.mkv", "ep2.mkv", "ep10.mkv"})
        dir.write(std::string("folder/") + name, bytes);
    dir.write("folder/notes.txt", "not media");
    ASSERT_TRUE(WriteAtBytePath(cp949, bytes));

    window->OpenMedia(dir.path("folder/ep2.mkv"));
    const std::string expected[] = {dir.path("folder/ep10.mkv"), cp949, cp949};
    for (const std::string &path : expected) {
        window->OnCommand(ID_NEXT_FILE);
        EXPECT_EQ(Graph().mediaPath, path);
        EXPECT_TRUE(Graph().graph) << path;
    }
    window->OnCommand(ID_PREV_FILE);
    EXPECT_EQ(Graph().mediaPath, dir.path("folder/ep10.mkv"));
    EXPECT_TRUE(messages.messages.empty());

    // The folder is read again at each step: a file that came meanwhile is next.
    dir.write("folder/ep11.mkv", bytes);
    window->OnCommand(ID_NEXT_FILE);
    EXPECT_EQ(Graph().mediaPath, dir.path("folder/ep11.mkv"));

    // Continuous play: the end of ep1 opens ep2; it is saved at once.
    window->OpenMedia(dir.path("folder/ep1.mkv"));
    window->OnCommand(ID_CONTINUOUS_PLAY);
    EXPECT_TRUE(dir.read("velmo_init.ini").contains("Continuous_Play"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Graph().mediaPath == dir.path("folder/ep2.mkv"); }, 8000));
    window->OnCommand(ID_CONTINUOUS_PLAY);
}

TEST_F(WatchingRealTest, FrameStepsMoveOnePictureEachWay)
{
    window->OpenMedia(FixturePath("long.mkv")); // 25 pictures a second
    ASSERT_TRUE(Graph().graph);
    Graph().position->put_CurrentPosition(1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PictureMs() >= 1000; }, 5000));
    window->OnCommand(ID_FRAME_NEXT); // pauses a playing clip first, then steps
    int32_t state = 0;
    Graph().control->GetState(0, &state);
    EXPECT_EQ(state, State_Paused);
    QTest::qWait(300);
    const int64_t start = PictureMs();
    window->OnCommand(ID_FRAME_NEXT);
    EXPECT_TRUE(QTest::qWaitFor([&] { return PictureMs() == start + 40; }, 3000)) << start << " -> " << PictureMs();
    window->OnCommand(ID_FRAME_PREV);
    EXPECT_TRUE(QTest::qWaitFor([&] { return PictureMs() == start; }, 3000)) << start << " -> " << PictureMs();
    window->OnCommand(ID_FRAME_PREV);
    EXPECT_TRUE(QTest::qWaitFor([&] { return PictureMs() == start - 40; }, 3000)) << start << " -> " << PictureMs();
}

TEST_F(WatchingRealTest, ScreenshotHasTheVideosSizeAndTheCaption)
{
    const char *saved = std::getenv("XDG_PICTURES_DIR");
    const std::string before = saved ? saved : "";
    setenv("XDG_PICTURES_DIR", dir.path("pictures").c_str(), 1);
    const std::string sami =
        dir.write("c.smi", "<SAMI><BODY>\n<SYNC Start=0><P Class=KRCC>자막 글자\n</BODY></SAMI>\n");
    window->OpenMedia(FixturePath("wide_pixels.mkv")); // 320x240 stored, 640x240 shown
    ASSERT_TRUE(Graph().graph);
    Graph().AddSubtitleFile(sami);
    ASSERT_TRUE(QTest::qWaitFor([&] { return app->subtitleStyle.subtitleText == QStringLiteral("자막 글자"); }, 5000));
    Graph().control->Pause();
    QTest::qWait(300);

    const QDir folder(QString::fromStdString(dir.path("pictures/Velmo")));
    window->OnCommand(ID_SCREENSHOT);
    window->OnCommand(ID_SUBTITLE_SHOW); // the caption off: the same picture without it
    const QStringList first = folder.entryList(QDir::Files);
    ASSERT_EQ(first.size(), 1);
    const QImage captioned(folder.filePath(first[0]));
    ASSERT_TRUE(QFile::rename(folder.filePath(first[0]), folder.filePath("captioned.png")));
    window->OnCommand(ID_SCREENSHOT);
    const QStringList second = folder.entryList({QStringLiteral("wide_pixels_*.png")}, QDir::Files);
    ASSERT_EQ(second.size(), 1);
    EXPECT_TRUE(second[0].startsWith(QStringLiteral("wide_pixels_00-00-0")));
    const QImage plain(folder.filePath(second[0]));
    before.empty() ? unsetenv("XDG_PICTURES_DIR") : setenv("XDG_PICTURES_DIR", before.c_str(), 1);

    EXPECT_EQ(captioned.size(), QSize(640, 240));
    EXPECT_EQ(plain.size(), QSize(640, 240));
    // The caption changed pixels, and only in the lower half where captions go.
    int changed = 0;
    int changedAbove = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x)
            if (plain.pixel(x, y) != captioned.pixel(x, y))
                ++(y < plain.height() / 2 ? changedAbove : changed);
    EXPECT_GT(changed, 200);
    EXPECT_EQ(changedAbove, 0);
}

} // namespace
} // namespace velmo::test
