// The player and its list on the fake graph: what adding a folder or a list
// file puts in it, the durations found for it, the steps and the end of a
// medium walking it by the order settings, and the list kept between runs.

#include "PlayerFixture.h"

#include "player/PlaylistStore.h"

#include <gmock/gmock.h>

namespace velmo::test {
namespace {

using ::testing::ElementsAre;

class PlayerPlaylistTest : public PlayerFixture {
protected:
    std::vector<std::string> Paths() const
    {
        std::vector<std::string> paths;
        for (const PlaylistEntry &entry : player.List().Entries())
            paths.push_back(entry.path);
        return paths;
    }
    /// Runs `step` and waits for the open it begins.
    bool StepAndWait(const std::function<void()> &step)
    {
        QSignalSpy opened(&player, &Player::opened);
        step();
        return opened.wait(2000);
    }
    std::string LastMessage(const QSignalSpy &said) const
    {
        return said.isEmpty() ? std::string() : said.last().at(0).toString().toStdString();
    }
};

TEST_F(PlayerPlaylistTest, AFolderAddsItsMediaInNaturalOrderAndTheirDurationsFollow)
{
    const std::string ep10 = Media("show/ep10.mkv", {.duration = 600});
    const std::string ep2 = Media("show/ep2.mkv", {.duration = 125.4});
    const std::string ep1 = Media("show/Ep1.mkv", {.duration = 60});
    const std::string extra = Media("show/sub/extra.avi");
    dir.write("show/notes.txt", "x");
    dir.write("show/.hidden/x.mkv", "x");
    dir.write("list.m3u8", "#EXTM3U\n#EXTINF:30,Known\nshow/ep2.mkv\nhttp://host/live\nother.m3u\n");

    QSignalSpy rows(&player, &Player::listRowsChanged);
    player.AddToList({dir.path("show"), dir.path("list.m3u8"), "rtsp://cam/1"});
    EXPECT_EQ(Paths(), (std::vector<std::string>{ep1, ep2, ep10, extra, ep2, "http://host/live", "rtsp://cam/1"}));
    EXPECT_EQ(player.List().Entries()[4].title, "Known");
    // Every file of unknown duration is asked once; addresses and known ones are not.
    EXPECT_THAT(backend->script->durationsAsked, ElementsAre(ep1, ep2, ep10, extra));
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.List().Entries()[3].durationMs == 10000; }, 2000));
    EXPECT_EQ(player.List().Entries()[0].durationMs, 60000);
    EXPECT_EQ(player.List().Entries()[1].durationMs, 125400);
    EXPECT_EQ(player.List().Entries()[4].durationMs, 125400) << "the same file, found once";
    EXPECT_GE(rows.size(), 5);
}

TEST_F(PlayerPlaylistTest, StepsWalkTheListWhileItPlaysAndTheFolderOtherwise)
{
    const std::string a = Media("d/a.avi"), b = Media("d/b.avi"), c = Media("other/c.avi");
    const std::string besideA = Media("d/a2.avi");
    player.AddToList({a, c, b});
    QSignalSpy said(&player, &Player::message);

    // Nothing open: the list starts.
    EXPECT_TRUE(player.CanStep());
    ASSERT_TRUE(StepAndWait([&] { player.StepMedium(+1); }));
    EXPECT_EQ(player.MediumPath(), a);
    ASSERT_TRUE(StepAndWait([&] { player.StepMedium(+1); }));
    EXPECT_EQ(player.MediumPath(), c) << "the list's order, not the folder's";
    ASSERT_TRUE(StepAndWait([&] { player.StepMedium(+1); }));
    EXPECT_EQ(player.MediumPath(), b);
    player.StepMedium(+1);
    EXPECT_EQ(LastMessage(said), "다음 파일이 없습니다");
    player.SetOrder({true, false, ListEnd::Stop});
    ASSERT_TRUE(StepAndWait([&] { player.StepMedium(+1); }));
    EXPECT_EQ(player.MediumPath(), a) << "모두 반복 wraps";
    EXPECT_EQ(player.List().Current(), 0u);

    // A medium the list does not hold steps through its folder.
    ASSERT_TRUE(OpenAndWait(besideA));
    EXPECT_FALSE(player.List().Current());
    ASSERT_TRUE(StepAndWait([&] { player.StepMedium(-1); }));
    EXPECT_EQ(player.MediumPath(), a);
    EXPECT_EQ(player.List().Current(), 0u) << "a file of the list is its entry again";

    // The medium open, added while the list is out of play, is its entry playing.
    ASSERT_TRUE(OpenAndWait(besideA));
    player.AddToList({besideA});
    EXPECT_EQ(player.List().Current(), 3u);
}

// What the end of a medium does: the next entry plays, with or without
// continuous play; past the last, the end setting decides.
TEST_F(PlayerPlaylistTest, TheEndOfTheListStopsRestartsOrAsksToQuit)
{
    const std::string a = Media("a.avi"), b = Media("b.avi");
    struct Case {
        ListEnd atEnd;
        std::string opens;   ///< "" when nothing opens
        PlayState state;
        int quits;
    };
    const Case cases[] = {
        {ListEnd::Stop, "", PlayState::Paused, 0},
        {ListEnd::Restart, a, PlayState::Paused, 0},
        {ListEnd::Quit, "", PlayState::Paused, 1},
    };
    player.AddToList({a, b});
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.atEnd));
        player.SetOrder({false, false, c.atEnd});
        ASSERT_TRUE(StepAndWait([&] { player.PlayEntry(0); }));
        ASSERT_TRUE(StepAndWait([&] { Graph()->Complete(); }));
        EXPECT_EQ(player.MediumPath(), b);
        EXPECT_EQ(player.State(), PlayState::Running);

        QSignalSpy opened(&player, &Player::opened);
        QSignalSpy ended(&player, &Player::ended);
        QSignalSpy quit(&player, &Player::quitRequested);
        Graph()->Complete();
        ASSERT_TRUE(ended.wait(2000));
        if (!c.opens.empty()) {
            ASSERT_TRUE(opened.wait(2000));
        }
        EXPECT_EQ(opened.size(), c.opens.empty() ? 0 : 1);
        EXPECT_EQ(player.MediumPath(), c.opens.empty() ? b : c.opens);
        EXPECT_EQ(player.State(), c.state);
        EXPECT_EQ(quit.size(), c.quits);
    }
    // Repeat of one medium comes first: the last entry plays again.
    settings.repeatMode = true;
    ASSERT_TRUE(StepAndWait([&] { Graph()->Complete(); }));
    EXPECT_EQ(player.MediumPath(), b);
    EXPECT_EQ(player.List().Current(), 1u);
}

TEST_F(PlayerPlaylistTest, APlaylistFileOpenedBecomesTheListAndPlaysItsFirstEntry)
{
    const std::string a = Media("films/a.avi"), b = Media("films/b.avi");
    player.AddToList({Media("old.avi")});
    const std::string list = dir.write("films/evening.m3u", "b.avi\r\na.avi\r\n");
    ASSERT_TRUE(StepAndWait([&] { player.Open(list); }));
    EXPECT_EQ(Paths(), (std::vector<std::string>{b, a}));
    EXPECT_EQ(player.MediumPath(), b);
    EXPECT_EQ(player.List().Current(), 0u);

    QSignalSpy said(&player, &Player::message);
    player.Open(dir.write("empty.pls", "[playlist]\nNumberOfEntries=0\n"));
    EXPECT_EQ(LastMessage(said), "재생 목록이 비어 있습니다");
    player.Open(dir.path("missing.m3u8"));
    EXPECT_EQ(LastMessage(said), "재생 목록을 읽을 수 없습니다");
    EXPECT_EQ(Paths(), (std::vector<std::string>{b, a})) << "a list that names nothing changes nothing";
    EXPECT_EQ(player.MediumPath(), b);
}

TEST_F(PlayerPlaylistTest, TheListIsKeptBesideTheSettingsAndSavedAsOtherPlayersReadIt)
{
    const std::string a = Media("a.avi", {.duration = 61}), b = Media("b.avi"), c = Media("c.avi");
    {
        Player first(graph, settings, look);
        first.AddToList({a, b, c});
        first.MoveInList({2}, 0);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.List().Entries()[1].durationMs == 61000; }, 2000));
        ASSERT_TRUE(first.SaveList(dir.path("saved.m3u8")));
    }
    Player again(graph, settings, look);
    std::vector<std::string> kept;
    for (const PlaylistEntry &entry : again.List().Entries())
        kept.push_back(entry.path);
    EXPECT_EQ(kept, (std::vector<std::string>{c, a, b}));
    EXPECT_EQ(again.List().Entries()[1].durationMs, 61000);
    EXPECT_EQ(dir.read("saved.m3u8"),
              "#EXTM3U\n#EXTINF:10,c.avi\nc.avi\n#EXTINF:61,a.avi\na.avi\n#EXTINF:10,b.avi\nb.avi\n");
    EXPECT_EQ(PlaylistFileBeside(settings.FileName()), dir.path("playlist.m3u8"));
}

} // namespace
} // namespace velmo::test
