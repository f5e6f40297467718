// The list's order rules: in turn and at random (each entry once a round),
// at either end with and without "모두 반복", and the entry playing kept
// through moves and removals.

#include "player/Playlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace velmo {
namespace {

Playlist ListOf(int count)
{
    std::vector<PlaylistItem> items;
    for (int i = 0; i < count; ++i)
        items.push_back({"/m/" + std::string(1, char('a' + i)) + ".mkv", {}, -1, {}});
    Playlist list;
    list.Insert(items, 0);
    return list;
}

std::string Names(const Playlist &list)
{
    std::string names;
    for (const PlaylistEntry &entry : list.Entries())
        names += entry.path[3];
    return names;
}

TEST(Playlist, InTurnEachEndStopsOrWrapsByRepeatAll)
{
    struct Case {
        int playing; ///< -1: out of play
        int direction;
        bool repeatAll;
        int row;     ///< -1: none
        bool newRound;
    };
    const Case cases[] = {
        {0, +1, false, 1, false}, {1, -1, false, 0, false}, {2, +1, false, -1, false}, {2, +1, true, 0, true},
        {0, -1, false, -1, false}, {0, -1, true, 2, false}, {-1, +1, false, 0, true}, {-1, -1, false, 0, true},
    };
    std::mt19937 random(1);
    for (const Case &c : cases) {
        Playlist list = ListOf(3);
        if (c.playing >= 0)
            list.Play(size_t(c.playing));
        const ListStep step = list.StepFrom(c.direction, {c.repeatAll, false, ListEnd::Stop}, random);
        EXPECT_EQ(step.row ? int(*step.row) : -1, c.row) << c.playing << " " << c.direction << " " << c.repeatAll;
        EXPECT_EQ(step.newRound, c.newRound) << c.playing << " " << c.direction;
    }
}

// Every seed: a round plays each entry once, the one begun with included;
// without repeat the round ends there, with it the next round plays each
// again and does not begin with the entry that ended the last.
TEST(Playlist, AtRandomEachEntryPlaysOncePerRound)
{
    for (unsigned seed = 0; seed < 50; ++seed) {
        std::mt19937 random(seed);
        for (bool repeatAll : {false, true}) {
            Playlist list = ListOf(7);
            const ListOrder order{repeatAll, true, ListEnd::Stop};
            list.Play(3);
            std::multiset<size_t> round = {3};
            size_t last = 3;
            for (int i = 0; i < 6; ++i) {
                const ListStep step = list.StepFrom(+1, order, random);
                ASSERT_TRUE(step.row);
                EXPECT_FALSE(step.newRound);
                round.insert(*step.row);
                list.Take(step);
                last = *step.row;
            }
            EXPECT_EQ(std::set<size_t>(round.begin(), round.end()).size(), 7u) << seed;
            const ListStep past = list.StepFrom(+1, order, random);
            if (!repeatAll) {
                EXPECT_FALSE(past.row) << seed;
                continue;
            }
            ASSERT_TRUE(past.row && past.newRound) << seed;
            EXPECT_NE(*past.row, last) << seed;
            std::set<size_t> next;
            ListStep step = past;
            for (int i = 0; i < 7; ++i) {
                ASSERT_TRUE(step.row);
                next.insert(*step.row);
                list.Take(step);
                step = list.StepFrom(+1, order, random);
            }
            EXPECT_EQ(next.size(), 7u) << seed;
        }
    }
}

TEST(Playlist, AtRandomBackRetracesTheRoundAndForwardReplaysIt)
{
    std::mt19937 random(7);
    Playlist list = ListOf(6);
    const ListOrder order{false, true, ListEnd::Stop};
    list.Play(0);
    std::vector<size_t> played = {0};
    for (int i = 0; i < 3; ++i) {
        const ListStep step = list.StepFrom(+1, order, random);
        list.Take(step);
        played.push_back(*step.row);
    }
    for (int i = 2; i >= 0; --i) {
        const ListStep back = list.StepFrom(-1, order, random);
        ASSERT_TRUE(back.row);
        EXPECT_EQ(*back.row, played[size_t(i)]);
        list.Take(back);
    }
    EXPECT_FALSE(list.StepFrom(-1, order, random).row) << "before the round's first entry";
    for (size_t i = 1; i < played.size(); ++i) {
        const ListStep forward = list.StepFrom(+1, order, random);
        EXPECT_EQ(*forward.row, played[i]);
        list.Take(forward);
    }
    const ListStep fresh = list.StepFrom(+1, order, random);
    ASSERT_TRUE(fresh.row);
    EXPECT_EQ(std::count(played.begin(), played.end(), *fresh.row), 0);
}

TEST(Playlist, TheEntryPlayingStaysItselfThroughMovesAndItsPlaceThroughRemoval)
{
    std::mt19937 random(3);
    const ListOrder inTurn;
    Playlist list = ListOf(5); // abcde
    list.Play(1);              // b
    EXPECT_EQ(list.Move({1, 3}, 5), 3u);
    EXPECT_EQ(Names(list), "acebd");
    EXPECT_EQ(list.Current(), 3u);
    EXPECT_EQ(list.Move({4}, 0), 0u);
    EXPECT_EQ(Names(list), "daceb");
    EXPECT_EQ(list.Current(), 4u);

    // The entry playing removed: the list goes on from its place.
    list.Remove({4, 0, 99});
    EXPECT_EQ(Names(list), "ace");
    EXPECT_FALSE(list.Current());
    EXPECT_TRUE(list.InPlay());
    EXPECT_EQ(list.StepFrom(+1, inTurn, random).row, std::nullopt) << "b stood last";
    list.Insert({{"/m/f.mkv", {}, -1, {}}}, 3);
    EXPECT_EQ(list.StepFrom(+1, inTurn, random).row, 3u);
    EXPECT_EQ(list.StepFrom(-1, inTurn, random).row, 2u);
    list.Insert({{"/m/g.mkv", {}, -1, {}}}, 0); // before the place: it moves along
    EXPECT_EQ(list.StepFrom(+1, inTurn, random).row, 4u);

    // Opening a medium of the list marks it; any other takes the list out of play.
    EXPECT_TRUE(list.Follow("/m/c.mkv"));
    EXPECT_EQ(list.Current(), 2u);
    EXPECT_FALSE(list.Follow("/elsewhere/x.mkv"));
    EXPECT_FALSE(list.InPlay());
    list.Clear();
    EXPECT_FALSE(list.StepFrom(+1, inTurn, random).row);
}

TEST(Playlist, ADurationFoundReachesEveryEntryOfThatPath)
{
    Playlist list = ListOf(2);
    list.Insert({{"/m/a.mkv", {}, -1, {}}}, 2);
    EXPECT_EQ(list.SetDuration("/m/a.mkv", 5000), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(list.SetDuration("/m/a.mkv", 5000), std::vector<size_t>{}) << "nothing new";
    EXPECT_EQ(list.Entries()[2].durationMs, 5000);
}

} // namespace
} // namespace velmo
