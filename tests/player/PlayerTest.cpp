// The player through its calls and signals, on the fake graph: the open that
// never blocks, and the rules that act on the medium open.

#include "PlayerFixture.h"

#include "resources/CommandIds.h"

namespace velmo {
namespace {

class PlayerTest : public test::PlayerFixture {};

TEST_F(PlayerTest, AnOpenReturnsAtOnceAndNothingPlaysUntilItIsReady)
{
    QSignalSpy opened(&player, &Player::opened);
    player.Open(Media("a.avi"));
    EXPECT_TRUE(player.Opening());
    EXPECT_FALSE(player.HasMedium());
    EXPECT_EQ(player.State(), PlayState::Closed);
    EXPECT_EQ(opened.size(), 0);
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_FALSE(player.Opening());
    EXPECT_TRUE(player.HasMedium());
    EXPECT_EQ(player.VideoSize(), QSize(320, 240));
    EXPECT_EQ(Graph()->state, State_Running);
}

TEST_F(PlayerTest, ASecondOpenDuringAnOpenReplacesIt)
{
    FakeMediaInfo silent;
    silent.answers = false;
    const std::string first = Media("first.avi", silent);
    const std::string second = Media("second.avi");
    QSignalSpy opened(&player, &Player::opened);
    QSignalSpy failed(&player, &Player::failed);
    player.Open(first);
    player.Open(second);
    ASSERT_TRUE(opened.wait(2000));
    QTest::qWait(50); // anything late from the first would arrive now
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(failed.size(), 0);
    EXPECT_EQ(player.MediumPath(), second);
    EXPECT_EQ(backend->script->graphsAlive, 1);
}

TEST_F(PlayerTest, ACloseDuringAnOpenCancelsIt)
{
    FakeMediaInfo silent;
    silent.answers = false;
    QSignalSpy opened(&player, &Player::opened);
    QSignalSpy failed(&player, &Player::failed);
    player.Open(Media("slow.avi", silent));
    const std::weak_ptr<FakeFilterGraph> pending = Graph();
    player.Close();
    EXPECT_FALSE(player.Opening());
    FakeFilterGraph::AnswerRender(pending); // an answer after the close is heard by no one
    QTest::qWait(50);
    EXPECT_EQ(opened.size() + failed.size(), 0);
    EXPECT_FALSE(player.HasMedium());
    EXPECT_EQ(backend->script->graphsAlive, 0);
}

TEST_F(PlayerTest, WhatArrivesDuringAnOpenFindsNothingPlaying)
{
    FakeMediaInfo silent;
    silent.answers = false;
    const std::string slow = Media("slow.avi", silent);
    Media("next.avi");
    player.Open(slow);
    const size_t before = backend->script->calls.size();
    // The keys, the timer and the bus can all reach the player meanwhile.
    player.PlayPause();
    player.SeekTo(3.0);
    player.SeekBy(5);
    player.StepFrame(true);
    player.ShiftCaptions(ID_CAPTION_LATER);
    player.PressAbRepeat();
    player.SaveScreenshot();
    EXPECT_EQ(player.State(), PlayState::Closed);
    EXPECT_EQ(player.Position(), 0.0);
    EXPECT_EQ(backend->script->calls.size(), before);
    ASSERT_TRUE(FakeFilterGraph::AnswerRender(Graph()));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.HasMedium(); }, 2000));
}

TEST_F(PlayerTest, AMediumThatCannotOpenSaysTheCodecMessage)
{
    QSignalSpy failed(&player, &Player::failed);
    player.Open(dir.path("missing.avi"));
    ASSERT_TRUE(failed.wait(2000));
    EXPECT_EQ(failed.at(0).at(0).toString(), QString::fromUtf8(kCodecMessage));
    EXPECT_FALSE(player.HasMedium());
}

TEST_F(PlayerTest, TheVolumeWaitsWhileMutedAndAnOpenSetsItOnce)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    player.SetVolumePosition(80);
    EXPECT_EQ(Graph()->volume, -2000);
    player.SetMuted(true);
    EXPECT_EQ(Graph()->volume, -10000);
    player.SetVolumePosition(70); // kept, not heard
    EXPECT_EQ(settings.volumeLevel, -3000);
    EXPECT_EQ(Graph()->volume, -10000);
    // Muted, then another file: it plays at the level while the mute stays on.
    ASSERT_TRUE(OpenAndWait(Media("b.avi")));
    EXPECT_EQ(Graph()->volume, -3000);
    EXPECT_TRUE(player.Muted());
    const auto &calls = backend->script->calls;
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(), [](const std::string &c) { return c.rfind("put_Volume", 0) == 0; }),
              4) << "one volume per open, one per change heard";
}

TEST_F(PlayerTest, TheEndRepeatsStepsOnOrPausesThereAndPlayStartsOver)
{
    const std::string a = Media("ep1.avi");
    const std::string b = Media("ep2.avi");
    QSignalSpy ended(&player, &Player::ended);
    struct Case {
        const char *what;
        std::string film;
        bool repeat;
        bool continuous;
        std::string opensNext; ///< empty: the player ends, paused on the last picture
        double seekBeforePlay; ///< negative: none; where play then starts
        double playsFrom;
    } cases[] = {
        {"repeat", a, true, false, a, -1, 0.0},
        {"continuous play", a, false, true, b, -1, 0.0},
        {"continuous play at the folder's last file", b, false, true, "", -1, 0.0},
        {"neither", a, false, false, "", -1, 0.0},
        {"a seek after the end plays from there", a, false, false, "", 4.0, 4.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(OpenAndWait(c.film));
        settings.repeatMode = c.repeat;
        settings.continuousPlay = c.continuous;
        ended.clear();
        QSignalSpy opened(&player, &Player::opened);
        Graph()->Complete();
        if (!c.opensNext.empty()) {
            ASSERT_TRUE(opened.wait(2000));
            EXPECT_EQ(player.MediumPath(), c.opensNext);
            EXPECT_EQ(ended.size(), c.repeat ? 0 : 1);
            EXPECT_EQ(player.State(), PlayState::Running);
            continue;
        }
        ASSERT_TRUE(ended.wait(2000));
        EXPECT_EQ(player.MediumPath(), c.film);
        EXPECT_EQ(player.State(), PlayState::Paused) << "the picture stays at its end";
        EXPECT_EQ(player.Position(), 10.0);
        if (c.seekBeforePlay >= 0)
            player.SeekTo(c.seekBeforePlay);
        player.PlayPause();
        EXPECT_EQ(player.State(), PlayState::Running);
        EXPECT_EQ(player.Position(), c.playsFrom);
        player.PlayPause(); // and now an ordinary pause, where it stands
        EXPECT_EQ(player.State(), PlayState::Paused);
        EXPECT_EQ(player.Position(), c.playsFrom);
    }
}

TEST_F(PlayerTest, FolderStepsSayWhenThereIsNone)
{
    const std::string first = Media("ep1.avi");
    const std::string second = Media("ep2.avi");
    QSignalSpy message(&player, &Player::message);
    ASSERT_TRUE(OpenAndWait(first));
    player.StepFolder(-1);
    ASSERT_EQ(message.size(), 1);
    EXPECT_EQ(message.at(0).at(0).toString(), QStringLiteral("이전 파일이 없습니다"));
    QSignalSpy opened(&player, &Player::opened);
    player.StepFolder(+1);
    ASSERT_TRUE(opened.wait(2000));
    EXPECT_EQ(player.MediumPath(), second);
}

TEST_F(PlayerTest, ACaptionIsShownCleanedWithItsMarkupOnlyWhenAskedFor)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    QSignalSpy changed(&player, &Player::captionChanged);
    Graph()->QueueEvent(EC_OLE_EVENT, 0, QStringLiteral("<P Class=KRCC><b>Hello</b><br>World"));
    ASSERT_TRUE(changed.wait(2000));
    EXPECT_EQ(player.Caption(), (ShownCaption{QStringLiteral("Hello\r\nWorld"), {}}));
    player.SetCaptionMarkup(true);
    EXPECT_EQ(player.Caption().markup, QStringLiteral("<P Class=KRCC><b>Hello</b><br>World"));
    SubtitleStyle reread(dir.path("velmo_init.ini"));
    EXPECT_TRUE(PlayerSettings(reread.settingsFile).captionMarkup) << "saved at once";
    player.Close();
    EXPECT_TRUE(player.Caption().text.isEmpty());
}

} // namespace
} // namespace velmo
