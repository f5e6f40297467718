// The player's transport and watching rules through its calls and signals, on
// the fake graph: seeks and jumps and the timelines they set, speed, the A-B
// loop, errors while playing, captions per medium and caption files.

#include "PlayerFixture.h"

#include "resources/CommandIds.h"

#include <gmock/gmock.h>

#include <functional>

namespace velmo::test {
namespace {

using ::testing::ElementsAre;

class PlayerWatchingTest : public PlayerFixture {};

TEST_F(PlayerWatchingTest, SeeksAndJumpsLandWhereTheKeysSayAndSetTheTimelinesOnlyOnJumps)
{
    constexpr int kNone = -1;
    struct Case {
        const char *what;
        double duration, from;
        std::function<void(Player &)> act;
        double landsAt;
        int timeline; ///< what the timelines are set to; kNone: left to the ticks
    };
    const Case cases[] = {
        {"5 s on", 100, 10, [](Player &p) { p.SeekBy(5); }, 15, kNone},
        {"30 s back", 100, 40, [](Player &p) { p.SeekBy(-30); }, 10, kNone},
        {"back past the start", 100, 3, [](Player &p) { p.SeekBy(-5); }, 0, kNone},
        {"on past the end", 100, 80, [](Player &p) { p.SeekBy(30); }, 100, kNone},
        {"a drag", 100, 10, [](Player &p) { p.DragTo(25); }, 25, kNone},
        {"a seek", 100, 10, [](Player &p) { p.SeekTo(33.3); }, 33.3, 33},
        {"the start", 100, 40, [](Player &p) { p.Jump(ID_JUMP_START); }, 0, 0},
        {"the middle", 100, 10, [](Player &p) { p.Jump(ID_JUMP_MIDDLE); }, 50, 50},
        {"the end", 100, 10, [](Player &p) { p.Jump(ID_JUMP_END); }, 95, 95},
        {"the end of a short medium", 3, 2, [](Player &p) { p.Jump(ID_JUMP_END); }, 0, 0},
        {"the middle of an unknown length", -1, 7, [](Player &p) { p.Jump(ID_JUMP_MIDDLE); }, 7, kNone},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(OpenAndWait(Media("a.avi", {c.duration, 320, 240})));
        Graph()->positionSeconds = c.from;
        QSignalSpy timeline(&player, &Player::timelineSet);
        QSignalSpy jumped(&player, &Player::positionJumped);
        c.act(player);
        EXPECT_DOUBLE_EQ(Graph()->positionSeconds, c.landsAt);
        EXPECT_EQ(jumped.size(), c.landsAt == c.from ? 0 : 1);
        if (c.timeline == kNone) {
            EXPECT_EQ(timeline.size(), 0);
        } else {
            ASSERT_EQ(timeline.size(), 1);
            EXPECT_EQ(timeline.at(0).at(0).toInt(), c.timeline);
        }
    }
}

TEST_F(PlayerWatchingTest, PlayFromStopStartsOverWhileStopAndPauseKeepThePlace)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    QSignalSpy timeline(&player, &Player::timelineSet);
    Graph()->positionSeconds = 4.0;
    player.PlayPause();
    EXPECT_EQ(player.State(), PlayState::Paused);
    player.PlayPause();
    EXPECT_EQ(player.State(), PlayState::Running);
    player.Stop();
    EXPECT_EQ(player.State(), PlayState::Stopped);
    EXPECT_EQ(Graph()->positionSeconds, 4.0);
    EXPECT_EQ(timeline.size(), 0);

    player.PlayPause();
    EXPECT_EQ(player.State(), PlayState::Running);
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
    ASSERT_EQ(timeline.size(), 1);
    EXPECT_EQ(timeline.at(0).at(0).toInt(), 0);
}

TEST_F(PlayerWatchingTest, SpeedKeysSayTheRateAndTheMenuRatesSetIt)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    QSignalSpy said(&player, &Player::message);
    player.StepSpeed(ID_SPEED_UP);
    player.StepSpeed(ID_SPEED_UP);
    EXPECT_DOUBLE_EQ(player.Rate(), 1.2);
    ASSERT_EQ(said.size(), 2);
    EXPECT_EQ(said.at(1).at(0).toString(), QStringLiteral("속도 1.2배"));
    player.SetRate(0.5);
    EXPECT_DOUBLE_EQ(Graph()->rate, 0.5);
    player.StepSpeed(ID_SPEED_RESET);
    EXPECT_DOUBLE_EQ(Graph()->rate, 1.0);
    EXPECT_EQ(said.size(), 3);
}

TEST_F(PlayerWatchingTest, TheAbLoopMarksItsRangeReturnsToAAndEndsWithTheMedium)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {100.0, 320, 240})));
    QSignalSpy range(&player, &Player::abRangeChanged);
    QSignalSpy timeline(&player, &Player::timelineSet);
    Graph()->positionSeconds = 20.0;
    player.PressAbRepeat();
    EXPECT_EQ(player.AbRange(), std::make_pair(0.0, 0.0)); // A alone marks nothing yet
    Graph()->positionSeconds = 30.0;
    player.PressAbRepeat();
    EXPECT_EQ(player.AbRange(), std::make_pair(0.2, 0.3));
    EXPECT_EQ(range.size(), 2);
    EXPECT_EQ(Graph()->positionSeconds, 20.0) << "standing at B, the loop begins at once";
    ASSERT_EQ(timeline.size(), 1) << "the timelines go back to A with it";
    EXPECT_EQ(timeline.last().at(0).toInt(), 20);

    // Playback reaches B between two ticks: that tick goes back to A.
    QSignalSpy ticked(&player, &Player::ticked);
    Graph()->positionSeconds = 29.95;
    ASSERT_TRUE(ticked.wait(2000));
    EXPECT_EQ(Graph()->positionSeconds, 29.95);
    Graph()->positionSeconds = 30.02;
    EXPECT_TRUE(QTest::qWaitFor([&] { return Graph()->positionSeconds == 20.0; }, 2000));
    ASSERT_EQ(timeline.size(), 2);
    EXPECT_EQ(timeline.last().at(0).toInt(), 20);

    ASSERT_TRUE(OpenAndWait(Media("b.avi", {100.0, 320, 240})));
    EXPECT_EQ(range.size(), 3);
    EXPECT_EQ(player.AbRange(), std::make_pair(0.0, 0.0));
}

TEST_F(PlayerWatchingTest, AnErrorWhilePlayingStopsWithoutRepeatOrFailure)
{
    settings.repeatMode = true; // an error is not an end to repeat
    ASSERT_TRUE(OpenAndWait(Media("live.ts")));
    QSignalSpy changed(&player, &Player::stateChanged);
    QSignalSpy opened(&player, &Player::opened);
    QSignalSpy failed(&player, &Player::failed);
    QSignalSpy said(&player, &Player::message);

    Graph()->QueueEvent(EC_ERRORABORT, VFW_E_NOT_FOUND);
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_TRUE(said.isEmpty());
    // An address that stopped sending says so over the picture.
    Graph()->QueueEvent(EC_ERRORABORT, VFW_E_TIMEOUT);
    ASSERT_TRUE(said.wait(2000));
    EXPECT_EQ(said.at(0).at(0).toString(), QStringLiteral("연결이 끊겼습니다"));
    EXPECT_EQ(said.at(0).at(1).toInt(), Player::kConnectionLostMs);
    EXPECT_EQ(opened.size() + failed.size(), 0);
    EXPECT_TRUE(player.HasMedium());
}

TEST_F(PlayerWatchingTest, ACaptionAndTheEndInOneDrainAreBothHeard)
{
    settings.repeatMode = true;
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    QStringList shown;
    QObject::connect(&player, &Player::captionChanged, [&] { shown << player.Caption().text; });
    QSignalSpy opened(&player, &Player::opened);
    Graph()->QueueEvent(EC_OLE_EVENT, 0, QStringLiteral("<P Class=KRCC>Last words"));
    Graph()->QueueEvent(EC_COMPLETE);
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(shown, QStringList({QStringLiteral("Last words"), QString()})); // the repeat starts without it
}

TEST_F(PlayerWatchingTest, TheCaptionOffsetStaysWithItsMediumAcrossRepeats)
{
    const std::string film = Media("film.avi");
    ASSERT_TRUE(OpenAndWait(film));
    QSignalSpy said(&player, &Player::message);
    player.ShiftCaptions(ID_CAPTION_LATER);
    player.ShiftCaptions(ID_CAPTION_LATER);
    EXPECT_EQ(player.CaptionOffsetMs(), 1000);
    EXPECT_EQ(said.last().at(0).toString(), QStringLiteral("자막 싱크 +1초"));

    settings.repeatMode = true;
    QSignalSpy opened(&player, &Player::opened);
    Graph()->Complete();
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(player.CaptionOffsetMs(), 1000) << "a repeat is the same medium";
    ASSERT_TRUE(OpenAndWait(Media("other.avi")));
    EXPECT_EQ(player.CaptionOffsetMs(), 0);
}

TEST_F(PlayerWatchingTest, ACaptionFileBesideTheMediumJoinsItsOpenAndOneAddedLaterRunsPlayback)
{
    const std::string companion = dir.write("film.smi", "<SAMI></SAMI>");
    const std::string added = dir.write("extra.srt", "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    backend->AddSubtitle(companion);
    backend->AddSubtitle(added);
    ASSERT_TRUE(OpenAndWait(Media("film.avi")));
    EXPECT_TRUE(player.HasCaptions());
    player.Pause();
    player.AddCaptionFile(added);
    EXPECT_EQ(player.State(), PlayState::Running);
    EXPECT_THAT(Graph()->subtitleFiles, ElementsAre(companion, added));

    ASSERT_TRUE(OpenAndWait(Media("plain.avi")));
    EXPECT_FALSE(player.HasCaptions());
}

} // namespace
} // namespace velmo::test
