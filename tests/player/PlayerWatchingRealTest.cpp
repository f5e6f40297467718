// The player's watching habits on real clips and real pipelines: the next
// file of a folder, continuous play, frame steps and a screenshot at the
// video's own size.

#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace velmo::test {
namespace {

class PlayerWatchingRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
        ASSERT_TRUE(EnsureFixtures()) << "the test clips could not be made";
        graph = std::make_unique<MediaGraph>(CreateGstMediaBackend());
        player = std::make_unique<Player>(*graph, settings, look);
    }
    void TearDown() override
    {
        player.reset();
        graph.reset();
    }
    /// Opens `path` (or lets a step's open end) and waits for the player to say so.
    bool WaitForOpen(const std::function<void()> &begin)
    {
        QSignalSpy opened(player.get(), &Player::opened);
        QSignalSpy failed(player.get(), &Player::failed);
        begin();
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, 20000) && opened.size() == 1;
    }
    bool OpenAndWait(const std::string &path)
    {
        return WaitForOpen([&] { player->Open(path); });
    }
    /// The time of the picture shown, in ms; -1 without one.
    int64_t PictureMs()
    {
        QImage image;
        int64_t ms = -1;
        return graph->frames && Succeeded(graph->frames->GrabPicture(&image, &ms)) ? ms : -1;
    }
    /// The picture's time once it stands still from one of the player's ticks to the next two.
    int64_t SettledPictureMs()
    {
        QSignalSpy ticked(player.get(), &Player::ticked);
        int64_t last = PictureMs();
        for (int still = 0, ticks = 0; still < 2 && ticks < 50; ++ticks) {
            if (!ticked.wait(1000))
                return -1;
            const int64_t now = PictureMs();
            still = now == last ? still + 1 : 0;
            last = now;
        }
        return last;
    }

    TempDir dir;
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    std::unique_ptr<MediaGraph> graph;
    std::unique_ptr<Player> player;
};

TEST_F(PlayerWatchingRealTest, FolderStepsInNaturalOrderAndPlaysOnAtTheEnd)
{
    QFile clip(QString::fromStdString(FixturePath("short.mkv")));
    ASSERT_TRUE(clip.open(QIODevice::ReadOnly));
    const QByteArray bytes = clip.readAll();
    const std::string cp949 = dir.path("folder/\xb0\xa1.mkv"); // "가" in CP949: not UTF-8
    for (const char *name : {"ep1.mkv", "ep2.mkv", "ep10.mkv"})
        dir.write(std::string("folder/") + name, bytes);
    dir.write("folder/notes.txt", "not media");
    ASSERT_TRUE(WriteAtBytePath(cp949, bytes));

    ASSERT_TRUE(OpenAndWait(dir.path("folder/ep2.mkv")));
    for (const std::string &path : {dir.path("folder/ep10.mkv"), cp949}) {
        EXPECT_TRUE(WaitForOpen([&] { player->StepFolder(+1); })) << path;
        EXPECT_EQ(player->MediumPath(), path);
    }
    QSignalSpy said(player.get(), &Player::message);
    player->StepFolder(+1); // the last one
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.at(0).at(0).toString(), QStringLiteral("다음 파일이 없습니다"));
    EXPECT_TRUE(WaitForOpen([&] { player->StepFolder(-1); }));
    EXPECT_EQ(player->MediumPath(), dir.path("folder/ep10.mkv"));

    // The folder is read again at each step: a file that came meanwhile is next.
    dir.write("folder/ep11.mkv", bytes);
    EXPECT_TRUE(WaitForOpen([&] { player->StepFolder(+1); }));
    EXPECT_EQ(player->MediumPath(), dir.path("folder/ep11.mkv"));

    // Continuous play: the end of ep1 opens ep2; the option is saved at once.
    ASSERT_TRUE(OpenAndWait(dir.path("folder/ep1.mkv")));
    player->SetContinuousPlay(true);
    EXPECT_TRUE(dir.read("velmo_init.ini").contains("Continuous_Play"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->MediumPath() == dir.path("folder/ep2.mkv"); }, 8000));
}

// GStreamer's discoverer finds the durations of the list's files in the
// background, one after another in the list's order; what it cannot read
// (asked first, so answered before the rest) stays unknown.
TEST_F(PlayerWatchingRealTest, TheListFindsItsFilesDurationsAndLeavesTheUnreadableUnknown)
{
    const std::vector<std::pair<std::string, int64_t>> files = {
        {FixturePath("random.avi"), -1}, {dir.path("missing.mkv"), -1}, {FixturePath("long.mkv"), 3000},
        {FixturePath("audio.mp3"), 2000}, {FixturePath("short.mkv"), 1000}};
    std::vector<std::string> paths;
    for (const auto &file : files)
        paths.push_back(file.first);
    QSignalSpy rows(player.get(), &Player::listRowsChanged);
    player->AddToList(paths);
    ASSERT_EQ(player->List().size(), files.size());
    ASSERT_TRUE(QTest::qWaitFor([&] { return rows.size() == 3; }, 30000)) << rows.size() << " durations found";
    for (size_t i = 0; i < files.size(); ++i) {
        const int64_t found = player->List().Entries()[i].durationMs;
        if (files[i].second < 0) {
            EXPECT_EQ(found, -1) << files[i].first;
        } else {
            EXPECT_NEAR(found, files[i].second, 100) << files[i].first;
        }
    }
}

TEST_F(PlayerWatchingRealTest, AClipThatEndsPausesOnItsLastPictureAndPlaysAgainFromTheStart)
{
    ASSERT_TRUE(OpenAndWait(FixturePath("short.mkv"))); // 1 s
    QSignalSpy ended(player.get(), &Player::ended);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(ended.wait(8000));
        EXPECT_EQ(player->State(), PlayState::Paused);
        EXPECT_GE(PictureMs(), 900) << "the last picture stays";
        EXPECT_GE(player->Position(), 0.9);
        player->PlayPause();
        EXPECT_EQ(player->State(), PlayState::Running);
        EXPECT_LT(player->Position(), 0.5);
        EXPECT_TRUE(QTest::qWaitFor([&] { return PictureMs() >= 0 && PictureMs() < 500; }, 3000)) << PictureMs();
    }
}

TEST_F(PlayerWatchingRealTest, FrameStepsMoveOnePictureEachWayAndPauseFirst)
{
    ASSERT_TRUE(OpenAndWait(FixturePath("long.mkv"))); // 25 pictures a second
    player->SeekTo(1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PictureMs() >= 1000; }, 5000));
    player->Pause();
    const int64_t start = SettledPictureMs();
    ASSERT_GE(start, 1000);
    const std::pair<bool, int64_t> steps[] = {{true, start + 40}, {false, start}, {false, start - 40}};
    for (const auto &[forward, expected] : steps) {
        player->StepFrame(forward);
        EXPECT_TRUE(QTest::qWaitFor([&] { return PictureMs() == expected; }, 3000)) << expected << " -> " << PictureMs();
    }

    // A playing clip is paused before it steps.
    player->Play();
    player->StepFrame(true);
    EXPECT_EQ(player->State(), PlayState::Paused);
}

TEST_F(PlayerWatchingRealTest, TheChosenEncodingReadsTheCaptionsAgainAtOnce)
{
    const std::string srt = dir.write("fr.srt", "1\n00:00:00,000 --> 01:00:00,000\n\xC9T\xC9 1/2\n");
    ASSERT_TRUE(OpenAndWait(FixturePath("wide_pixels.mkv")));
    player->AddCaptionFile(srt);
    const QString western = QString::fromUtf8("ÉTÉ 1/2");
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text == western; }, 5000)) << player->Caption().text.toStdString();
    player->ChooseCaptionEncoding(CaptionEncoding::Cp949);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.contains(QChar(0xFFFD)); }, 5000));
    player->ChooseCaptionEncoding(CaptionEncoding::Windows1252);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Caption().text == western; }, 5000));
    EXPECT_EQ(player->CaptionEncodingChosen(), CaptionEncoding::Windows1252);

    // A file added that no reader takes says which format was tried.
    QSignalSpy said(player.get(), &Player::message);
    player->AddCaptionFile(dir.write("bad.srt", "1\n00:00:01 --> 00:00:02\nno milliseconds\n"));
    ASSERT_FALSE(said.isEmpty());
    EXPECT_EQ(said.last().at(0).toString(), QStringLiteral("SubRip 자막으로 읽을 수 없습니다"));
}

TEST_F(PlayerWatchingRealTest, FrameStepsShowTheCaptionOfThePictureTheyReach)
{
    const std::string srt = dir.write("steps.srt", "1\n00:00:00,500 --> 00:00:01,200\nfirst\n\n"
                                                   "2\n00:00:01,400 --> 00:00:02,000\nsecond\n");
    ASSERT_TRUE(OpenAndWait(FixturePath("long.mkv"))); // 25 pictures a second
    player->AddCaptionFile(srt);
    player->Pause();
    player->SeekTo(1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text == QStringLiteral("first"); }, 5000));
    ASSERT_GE(SettledPictureMs(), 960);
    struct Case {
        bool forward;
        int64_t until; ///< steps until the picture's time passes this, that way
        const char *caption;
    } cases[] = {
        {true, 1200, ""},        // past the first caption's end
        {false, 1199, "first"},  // back into it
        {true, 1400, "second"},  // on into the next one
        {false, 1399, ""},       // back before it
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.until);
        for (int steps = 0; c.forward ? PictureMs() < c.until : PictureMs() > c.until; ++steps) {
            ASSERT_LT(steps, 20);
            const int64_t before = PictureMs();
            player->StepFrame(c.forward);
            ASSERT_TRUE(QTest::qWaitFor([&] { return PictureMs() != before; }, 3000));
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.trimmed() == QLatin1String(c.caption); }, 2000))
            << PictureMs() << " ms shows \"" << player->Caption().text.toStdString() << "\"";
    }
}

TEST_F(PlayerWatchingRealTest, AScreenshotHasTheVideosSizeAndTheCaptionAsDrawn)
{
    const char *saved = std::getenv("XDG_PICTURES_DIR");
    const std::string before = saved ? saved : "";
    setenv("XDG_PICTURES_DIR", dir.path("pictures").c_str(), 1);
    const std::string sami =
        dir.write("c.smi", "<SAMI><BODY>\n<SYNC Start=0><P Class=KRCC>자막 글자\n</BODY></SAMI>\n");
    ASSERT_TRUE(OpenAndWait(FixturePath("wide_pixels.mkv"))); // 320x240 stored, 640x240 shown
    player->AddCaptionFile(sami);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text == QStringLiteral("자막 글자"); }, 5000));
    player->Pause();
    ASSERT_GE(SettledPictureMs(), 0);

    const QDir folder(QString::fromStdString(dir.path("pictures/Velmo")));
    QSignalSpy said(player.get(), &Player::message);
    player->SaveScreenshot();
    look.subtitleVisible = false; // the caption off: the same picture without it
    const QStringList first = folder.entryList(QDir::Files);
    ASSERT_EQ(first.size(), 1);
    const QImage captioned(folder.filePath(first[0]));
    ASSERT_TRUE(QFile::rename(folder.filePath(first[0]), folder.filePath("captioned.png")));
    player->SaveScreenshot();
    const QStringList second = folder.entryList({QStringLiteral("wide_pixels_*.png")}, QDir::Files);
    ASSERT_EQ(second.size(), 1);
    EXPECT_TRUE(second[0].startsWith(QStringLiteral("wide_pixels_00-00-0")));
    // The folder is named too, where the user would look for it.
    EXPECT_EQ(said.last().at(0).toString(), QStringLiteral("화면 저장: ") + folder.filePath(second[0]));
    const QImage plain(folder.filePath(second[0]));
    // A file where the folder would go: the user is told why, in Korean.
    setenv("XDG_PICTURES_DIR", dir.write("blocked", "x").c_str(), 1);
    player->SaveScreenshot();
    EXPECT_EQ(said.last().at(0).toString(), QStringLiteral("화면 저장 실패: 폴더를 만들 수 없습니다"));
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
