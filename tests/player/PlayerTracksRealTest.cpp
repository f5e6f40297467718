// The medium's tracks on real pipelines: the choice at an open by the
// preferred languages, a switch of the sound while it plays, an embedded
// subtitle cue shown as a caption, and a medium with a thousand tracks.

#include "engine/GstFilterGraph.h"
#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QSignalSpy>
#include <QTest>

#include <gst/audio/audio.h>
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <memory>

namespace velmo::test {
namespace {

class PlayerTracksRealTest : public ::testing::Test {
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
    bool OpenAndWait(const std::string &path, int timeoutMs = 20000)
    {
        QSignalSpy opened(player.get(), &Player::opened);
        QSignalSpy failed(player.get(), &Player::failed);
        player->Open(path);
        return QTest::qWaitFor([&] { return opened.size() + failed.size() > 0; }, timeoutMs) && opened.size() == 1;
    }

    TempDir dir;
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    std::unique_ptr<MediaGraph> graph;
    std::unique_ptr<Player> player;
};

TEST_F(PlayerTracksRealTest, TheOpenChoosesThePreferredLanguageAndListsEveryTrack)
{
    const struct {
        const char *languages;
        int sound;
        int subtitle;
    } cases[] = {{"ko", 1, 1}, {"en", 0, 0}, {"ja,ko", 1, 2}};
    for (const auto &c : cases) {
        settings.audioLanguages = settings.subtitleLanguages = c.languages;
        ASSERT_TRUE(OpenAndWait(FixturePath("streams.mkv"))) << c.languages;
        EXPECT_EQ(player->CurrentAudioTrack(), c.sound) << c.languages;
        EXPECT_EQ(player->SubtitleChoice(), c.subtitle) << c.languages;
    }
    EXPECT_EQ(player->AudioTracks(),
              (std::vector<QString>{QStringLiteral("영어 — AAC"), QStringLiteral("한국어 \"해설\" — AAC")}));
    EXPECT_EQ(player->SubtitleTracks(),
              (std::vector<QString>{QStringLiteral("영어 — SubRip"), QStringLiteral("한국어 — SubRip"),
                                    QStringLiteral("일본어 \"Signs\" — ASS")}));
}

TEST_F(PlayerTracksRealTest, AnEmbeddedCueShowsAtItsTimeAndTheAssSignTypesetOrPlain)
{
    ASSERT_TRUE(OpenAndWait(FixturePath("streams.mkv")));
    ASSERT_EQ(player->SubtitleChoice(), 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.contains(QStringLiteral("첫째 한국어 자막")); },
                                5000));
    EXPECT_TRUE(player->HasCaptions());
    const double shownAt = player->Position();
    EXPECT_GE(shownAt, 0.4);
    EXPECT_LE(shownAt, 3.5);
    player->CycleSubtitle(); // the Japanese signs, from where the medium stands
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->CaptionsTypeset(); }, 3000)) << "drawn typeset at first";
    EXPECT_TRUE(player->Caption().text.isEmpty());
    player->SetAssStyled(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Caption().text == QStringLiteral("看板 sign"); }, 3000))
        << player->Caption().text.toStdString();
    player->ChooseSubtitle(kSubtitleNone);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.trimmed().isEmpty(); }, 1000));
}

TEST_F(PlayerTracksRealTest, ATrackChosenMidCueShowsTheCueUnderWay)
{
    ASSERT_TRUE(OpenAndWait(FixturePath("streams.mkv")));
    ASSERT_EQ(player->SubtitleChoice(), 1);
    // Past the keyframe after the second cue's start (4.5 s): a seek from here
    // reads on from that keyframe, behind the cue.
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->Position() >= 5.3; }, 10000));
    ASSERT_TRUE(player->Caption().text.contains(QStringLiteral("둘째 한국어 자막"))) << player->Caption().text.toStdString();
    player->ChooseSubtitle(0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->Caption().text.contains(QStringLiteral("second English caption")); },
                                1500))
        << player->Caption().text.toStdString() << " at " << player->Position();
}

// The sound path's samples as the volume element hands them on: their pitch
// tells the 440 Hz stream from the 880 Hz one.
struct PitchProbe {
    std::atomic<int64_t> highSinceMs{-1};
    QElapsedTimer clock;

    static GstPadProbeReturn OnBuffer(GstPad *pad, GstPadProbeInfo *info, gpointer data)
    {
        auto *self = static_cast<PitchProbe *>(data);
        GstAudioInfo audio;
        GstCapsPtr caps(gst_pad_get_current_caps(pad));
        GstMapInfo map;
        if (!caps || !gst_audio_info_from_caps(&audio, caps.get()) || GST_AUDIO_INFO_FORMAT(&audio) != GST_AUDIO_FORMAT_F32LE
            || !gst_buffer_map(GST_PAD_PROBE_INFO_BUFFER(info), &map, GST_MAP_READ))
            return GST_PAD_PROBE_OK;
        const auto *samples = reinterpret_cast<const float *>(map.data);
        const size_t frames = map.size / size_t(GST_AUDIO_INFO_BPF(&audio));
        int crossings = 0;
        for (size_t i = 1; i < frames; ++i)
            crossings += (samples[i * audio.channels] >= 0) != (samples[(i - 1) * audio.channels] >= 0);
        gst_buffer_unmap(GST_PAD_PROBE_INFO_BUFFER(info), &map);
        const double hz = frames ? crossings / 2.0 * audio.rate / double(frames) : 0;
        if (hz > 700 && self->highSinceMs.load() < 0)
            self->highSinceMs = self->clock.elapsed();
        return GST_PAD_PROBE_OK;
    }
};

TEST_F(PlayerTracksRealTest, SwitchingTheSoundKeepsPlayingAndTheNewSamplesComeWithin300Ms)
{
    settings.audioLanguages = "en";
    ASSERT_TRUE(OpenAndWait(FixturePath("streams.mkv")));
    ASSERT_EQ(player->CurrentAudioTrack(), 0);
    auto gst = std::dynamic_pointer_cast<GstFilterGraph>(graph->graph);
    ASSERT_TRUE(gst);
    GstElementPtr volume(gst_bin_get_by_name(GST_BIN(gst->Pipeline()), GstFilterGraph::kVolumeName));
    ASSERT_TRUE(volume);
    GstPadPtr pad(gst_element_get_static_pad(volume.get(), "src"));
    PitchProbe probe;
    const gulong probeId = gst_pad_add_probe(pad.get(), GST_PAD_PROBE_TYPE_BUFFER, &PitchProbe::OnBuffer, &probe, nullptr);
    // The probe goes before `probe` does, whatever the test's end.
    const std::unique_ptr<GstPad, std::function<void(GstPad *)>> unprobe(
        pad.get(), [probeId](GstPad *p) { gst_pad_remove_probe(p, probeId); });
    QTest::qWait(1000);
    ASSERT_LT(probe.highSinceMs.load(), 0) << "the English stream plays 440 Hz";

    probe.clock.start();
    const double before = player->Position();
    player->ChooseAudioTrack(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probe.highSinceMs.load() >= 0; }, 3000));
    EXPECT_LE(probe.highSinceMs.load(), 300);
    EXPECT_EQ(player->CurrentAudioTrack(), 1);
    QTest::qWait(300);
    EXPECT_EQ(player->State(), PlayState::Running);
    EXPECT_GT(player->Position(), before + 0.2);
}

TEST_F(PlayerTracksRealTest, AMediumOfAThousandSubtitleTracksOpensInAFewSeconds)
{
    if (QStandardPaths::findExecutable(QStringLiteral("mkvmerge")).isEmpty())
        GTEST_SKIP() << "mkvmerge is not installed";
    const QString srt = QString::fromStdString(dir.path("one.srt"));
    QFile file(srt);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("1\n00:00:00,500 --> 00:00:01,500\nhello\n");
    file.close();
    QStringList args = {QStringLiteral("-q"), QStringLiteral("-o"), QString::fromStdString(dir.path("many.mkv")),
                        QString::fromStdString(FixturePath("clip.mkv"))};
    for (int i = 0; i < 1000; ++i)
        args << QStringLiteral("--language") << QString::fromLatin1(i % 7 ? "0:eng" : "0:kor") << srt;
    QProcess merge;
    merge.start(QStringLiteral("mkvmerge"), args);
    ASSERT_TRUE(merge.waitForFinished(120000));
    ASSERT_LE(merge.exitCode(), 1) << merge.readAllStandardError().toStdString(); // 1: warnings only

    // A medium that hangs on its tracks never opens: the open's own time-out is far longer.
    ASSERT_TRUE(OpenAndWait(dir.path("many.mkv"), 15000));
    EXPECT_EQ(player->SubtitleTracks().size(), 1000u);
    EXPECT_EQ(player->State(), PlayState::Running);
}

} // namespace
} // namespace velmo::test
