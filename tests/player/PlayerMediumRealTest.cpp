// The chapters and the sound's delay on real pipelines: the chapter keys
// land on the chapters' pictures, the delay reaches the sinks with the sign
// the keys mean, and hostile tables of contents still play.

#include "engine/GstFilterGraph.h"
#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QImage>
#include <QSignalSpy>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

#include <memory>

namespace velmo::test {
namespace {

class PlayerMediumRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
        ASSERT_TRUE(EnsureFixtures()) << "the test clips could not be made";
    }
    bool OpenAndWait(const std::string &name, int withinMs = 20000)
    {
        QSignalSpy opened(&player, &Player::opened);
        QSignalSpy failed(&player, &Player::failed);
        player.Open(FixturePath(name));
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, withinMs) && opened.size() == 1;
    }
    /// Waits for the picture shown to be the one of `ms` (pictures last 40 ms
    /// and start 21 ms in, after the sound's priming).
    bool PictureComesTo(int64_t ms)
    {
        return QTest::qWaitFor([&] {
            QImage image;
            int64_t at = -1;
            return graph.frames && Succeeded(graph.frames->GrabPicture(&image, &at)) && at >= ms && at < ms + 40;
        }, 5000);
    }
    gint64 Int64Of(GstElement *element, const char *property)
    {
        gint64 value = 0;
        g_object_get(element, property, &value, nullptr);
        return value;
    }

    TempDir dir;
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    MediaGraph graph{CreateGstMediaBackend()};
    Player player{graph, settings, look};
};

TEST_F(PlayerMediumRealTest, TheChapterKeysLandOnTheChaptersStarts)
{
    ASSERT_TRUE(OpenAndWait("streams.mkv"));
    const std::vector<ChapterMark> chapters = player.Chapters();
    ASSERT_EQ(chapters, (std::vector<ChapterMark>{{0, QStringLiteral("처음")},
                                                  {4000, QStringLiteral("가운데")},
                                                  {6000, QStringLiteral("끝")}}));
    EXPECT_EQ(player.MediumTitle(), QStringLiteral("Streams sample"));
    player.Pause();
    struct Step {
        double from; ///< negative: where the last step landed
        int direction;
        int64_t landsAtMs;
    } steps[] = {{-1, +1, 4000}, {-1, +1, 6000}, {-1, -1, 4000}, {3.5, -1, 0}, {5.0, -1, 0}, {7.5, -1, 4000}};
    for (const Step &s : steps) {
        if (s.from >= 0) {
            player.SeekTo(s.from);
            ASSERT_TRUE(PictureComesTo(int64_t(s.from * 1000)));
        }
        player.StepChapter(s.direction);
        EXPECT_TRUE(PictureComesTo(s.landsAtMs)) << s.from << " " << s.direction << " " << s.landsAtMs;
        EXPECT_EQ(player.ChapterPlaying(), s.landsAtMs == 0 ? 0 : s.landsAtMs == 4000 ? 1 : 2);
    }
}

TEST_F(PlayerMediumRealTest, TheDelayHoldsThePlayingSinkBackByItsSign)
{
    ASSERT_TRUE(OpenAndWait("streams.mkv"));
    auto *gst = dynamic_cast<GstFilterGraph *>(graph.graph.get());
    ASSERT_NE(gst, nullptr);
    GstElement *audioSink = nullptr;
    g_object_get(gst->Pipeline(), "audio-sink", &audioSink, nullptr);
    GstElementPtr audio(audioSink);
    ASSERT_TRUE(audio);

    for (int id : {ID_SOUND_LATER, ID_SOUND_LATER, ID_SOUND_LATER_MORE})
        player.ShiftSound(id);
    EXPECT_EQ(Int64Of(audio.get(), "ts-offset"), 120 * GST_MSECOND) << "later sound: the sound sink waits";
    player.ShiftSound(ID_SOUND_EARLIER_MORE);
    player.ShiftSound(ID_SOUND_EARLIER_MORE);
    EXPECT_EQ(Int64Of(gst->Pipeline(), "av-offset"), 80 * GST_MSECOND) << "earlier sound: the picture waits";
    EXPECT_EQ(Int64Of(audio.get(), "ts-offset"), 0);
    EXPECT_EQ(player.State(), PlayState::Running);
}

TEST_F(PlayerMediumRealTest, HostileTablesOfContentsStillPlay)
{
    struct Case {
        const char *file;
        size_t chapters;
    } cases[] = {
        {"chapters_many.mkv", 10000},
        {"chapters_past_end.mkv", 1},  // the two past the end are left out
        {"chapters_bad_title.mkv", 2}, // its title refused on the way, the chapter kept
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(OpenAndWait(c.file)) << c.file;
        EXPECT_EQ(player.Chapters().size(), c.chapters) << c.file;
        EXPECT_EQ(player.State(), PlayState::Running) << c.file;
        for (const ChapterMark &chapter : player.Chapters())
            EXPECT_LE(chapter.title.size(), 200) << c.file;
    }
}

} // namespace
} // namespace velmo::test
