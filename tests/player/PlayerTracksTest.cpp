// The track keys, their messages and the choice kept for a medium, on the fake graph.

#include "PlayerFixture.h"

namespace velmo::test {
namespace {

class PlayerTracksTest : public PlayerFixture {
protected:
    void SetUp() override
    {
        backend->script->streamChoice = true;
        player.SetResumeRules(ResumeRules{1.0, 0.05});
    }
    /// The messages `act` makes the player say.
    std::vector<QString> Said(const std::function<void()> &act)
    {
        QSignalSpy said(&player, &Player::message);
        act();
        std::vector<QString> texts;
        for (const QList<QVariant> &m : said)
            texts.push_back(m.at(0).toString());
        return texts;
    }
    FakeMediaInfo film{60.0, 320, 240, S_OK, true, S_OK, true,
                       {{"en", "", "AAC", 2, true}, {"ko", "해설", "AAC", 2, false}},
                       {{"en", "", "SubRip", 0, true}, {"ko", "", "SubRip", 0, false}}};
};

TEST_F(PlayerTracksTest, TheKeysGoRoundTheTracksAndSayWhich)
{
    const std::string path = Media("film.mkv", film);
    dir.write("film.smi", "<SAMI><BODY><SYNC Start=0><P>x</BODY></SAMI>");
    backend->AddSubtitle(dir.path("film.smi"));
    ASSERT_TRUE(OpenAndWait(path));
    EXPECT_EQ(player.CurrentAudioTrack(), 1) << "Korean is preferred";
    EXPECT_EQ(player.SubtitleChoice(), kSubtitleFiles) << "the file beside the medium wins";

    EXPECT_EQ(Said([&] { player.CycleAudioTrack(); }), std::vector<QString>{QStringLiteral("음성: 영어 — AAC")});
    EXPECT_EQ(Graph()->currentAudio, 0);
    std::vector<QString> round;
    for (int i = 0; i < 4; ++i)
        for (const QString &text : Said([&] { player.CycleSubtitle(); }))
            round.push_back(text);
    EXPECT_EQ(round, (std::vector<QString>{QStringLiteral("자막: 자막 없음"), QStringLiteral("자막: 영어 — SubRip"),
                                           QStringLiteral("자막: 한국어 — SubRip"), QStringLiteral("자막: film.smi")}));
}

TEST_F(PlayerTracksTest, TheChoiceOfAMediumComesBackAtItsNextOpen)
{
    const std::string path = Media("film.mkv", film);
    FakeMediaInfo oneSound = film;
    oneSound.audio.resize(1);
    const std::string other = Media("other.mkv", oneSound);
    ASSERT_TRUE(OpenAndWait(path));
    EXPECT_EQ(player.SubtitleChoice(), 1);
    player.ChooseAudioTrack(0);
    player.ChooseSubtitle(kSubtitleNone);
    Graph()->positionSeconds = 20.0;
    ASSERT_TRUE(OpenAndWait(other)); // leaving the film remembers it
    EXPECT_EQ(player.SubtitleChoice(), 1);
    EXPECT_EQ(Said([&] { player.CycleAudioTrack(); }), std::vector<QString>{QStringLiteral("음성 트랙이 하나뿐입니다")});
    ASSERT_TRUE(OpenAndWait(path));
    EXPECT_EQ(player.CurrentAudioTrack(), 0);
    EXPECT_EQ(player.SubtitleChoice(), kSubtitleNone);
}

} // namespace
} // namespace velmo::test
