// Where media were left, through the player's calls and signals on the fake
// graph: what leaving a medium writes, the offer made when it opens again,
// and the recent list.

#include "PlayerFixture.h"

#include "player/ResumeStore.h"
#include "resources/CommandIds.h"


namespace velmo::test {
namespace {

class PlayerResumeTest : public PlayerFixture {
protected:
    void SetUp() override { player.SetResumeRules(ResumeRules{10.0, 0.05}); }
    ResumeStore Store() const { return ResumeStore(ResumeStore::FolderBeside(settings.FileName())); }
    /// Opens `path` and leaves it at `seconds` by closing it.
    void LeaveAt(const std::string &path, double seconds)
    {
        ASSERT_TRUE(OpenAndWait(path));
        Graph()->positionSeconds = seconds;
        player.Close();
    }
};

TEST_F(PlayerResumeTest, LeavingAMediumWritesKeepsOrDropsItsRecord)
{
    enum Leave { Close, OpenAnother };
    struct Case {
        const char *what;
        double duration, leftAt;
        Leave leave;
        int64_t recordMs; ///< -1: no record
    };
    const Case cases[] = {
        {"closed midway", 20, 12, Close, 12000},
        {"another opened", 20, 12, OpenAnother, 12000},
        {"left at the start", 20, 0, Close, 0},
        {"closed in its last twentieth", 20, 19.5, Close, -1},
        {"too short to remember", 5, 2, Close, 7000}, // the earlier record stays
    };
    const std::string clip = Media("clip.avi", {20.0, 320, 240});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        LeaveAt(clip, 7.0); // an earlier record of the same medium
        backend->AddMedia(clip, {c.duration, 320, 240});
        ASSERT_TRUE(OpenAndWait(clip));
        Graph()->positionSeconds = c.leftAt;
        if (c.leave == Close)
            player.Close();
        else
            ASSERT_TRUE(OpenAndWait(Media("other.avi")));
        const std::optional<ResumeRecord> record = Store().Load(clip);
        EXPECT_EQ(record ? record->positionMs : -1, c.recordMs);
        backend->AddMedia(clip, {20.0, 320, 240});
    }
}

TEST_F(PlayerResumeTest, AReopenedMediumComesBackWithItsCaptionOffsetAndOffersItsPlace)
{
    const std::string clip = Media("clip.avi", {20.0, 320, 240});
    ASSERT_TRUE(OpenAndWait(clip));
    player.ShiftCaptions(ID_CAPTION_LATER);
    player.ShiftSound(ID_SOUND_LATER_MORE);
    Graph()->positionSeconds = 12.0;
    player.Close();
    ASSERT_TRUE(OpenAndWait(Media("other.avi", {5.0, 320, 240}))); // starts without the offsets
    EXPECT_EQ(Graph()->soundDelayMs, 0);

    QSignalSpy said(&player, &Player::message);
    ASSERT_TRUE(OpenAndWait(clip));
    EXPECT_EQ(player.CaptionOffsetMs(), 500);
    EXPECT_EQ(Graph()->soundDelayMs, 100);
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.at(0).at(0).toString(), ResumeOfferText(12000));
    EXPECT_EQ(said.at(0).at(1).toInt(), Player::kResumeOfferMs);
    ASSERT_TRUE(player.ResumeOffered());
    QSignalSpy timeline(&player, &Player::timelineSet);
    EXPECT_TRUE(player.TakeResumeOffer(true));
    EXPECT_EQ(Graph()->positionSeconds, 12.0);
    ASSERT_EQ(timeline.size(), 1);
    EXPECT_EQ(timeline.at(0).at(0).toInt(), 60);
    EXPECT_EQ(said.last().at(0).toString(), QString()) << "the offer's words go with it";
    EXPECT_FALSE(player.TakeResumeOffer(true)) << "taken once only";

    // Declined: the medium plays on from its start.
    Graph()->positionSeconds = 12.0;
    player.Close();
    ASSERT_TRUE(OpenAndWait(clip));
    EXPECT_FALSE(player.TakeResumeOffer(false));
    EXPECT_FALSE(player.ResumeOffered());
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
}

TEST_F(PlayerResumeTest, TheRecentListIsNewestFirstWithItsRecordsAndForgetsEverything)
{
    const std::string a = Media("a.avi", {20.0, 320, 240});
    const std::string b = Media("b.avi", {20.0, 320, 240});
    const std::string c = Media("c.avi", {5.0, 320, 240}); // too short to remember
    LeaveAt(a, 0.0);
    LeaveAt(b, 12.0);
    ASSERT_TRUE(OpenAndWait(c));
    LeaveAt(a, 0.0); // opened again: first once more

    const auto recent = player.RecentMedia();
    ASSERT_EQ(recent.size(), 3u);
    EXPECT_EQ(recent[0].first, a);
    EXPECT_EQ(recent[1].first, c);
    EXPECT_EQ(recent[2].first, b);
    EXPECT_FALSE(recent[1].second);
    ASSERT_TRUE(recent[2].second);
    EXPECT_EQ(recent[2].second->positionMs, 12000);

    ASSERT_TRUE(OpenAndWait(b));
    ASSERT_TRUE(player.ResumeOffered());
    player.ForgetRecent();
    EXPECT_FALSE(player.ResumeOffered());
    EXPECT_TRUE(player.RecentMedia().empty());
    EXPECT_FALSE(Store().Load(b));
}

} // namespace
} // namespace velmo::test
