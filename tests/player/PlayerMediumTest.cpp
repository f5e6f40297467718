// The player's sound outputs and chapters on the fake graph: the outputs
// asked for only when wanted, the fall-back when the one in use goes, and
// the chapter keys' words at the ends.

#include "player/PlayerFixture.h"

#include "text/IniFile.h"

namespace velmo::test {
namespace {

using PlayerMediumTest = PlayerFixture;

TEST_F(PlayerMediumTest, TheOutputInUseGoingAwayMovesTheSoundToTheDefaultOnce)
{
    backend->script->soundDevices = {{"a", QStringLiteral("Speakers")}, {"b", QStringLiteral("Headphones")}};
    ASSERT_TRUE(OpenAndWait(Media("film.mkv")));
    QCoreApplication::processEvents();
    EXPECT_EQ(backend->script->soundDeviceLookups, 0) << "nothing is asked of the system before it is wanted";

    const std::vector<SoundDevice> outputs = player.SoundOutputs();
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[0], (SoundDevice{"", QStringLiteral("기본 출력")}));
    EXPECT_EQ(outputs[2].name, QStringLiteral("Headphones"));
    player.ChooseSoundOutput("b");
    EXPECT_EQ(Graph()->soundDevice, "b");
    IniFile saved;
    ASSERT_TRUE(saved.Load(settings.FileName()));
    EXPECT_EQ(saved.GetString("Velmo", "Audio_Device"), "b");

    QSignalSpy said(&player, &Player::message);
    backend->script->soundDevices.pop_back();
    backend->script->soundDevicesChanged();
    backend->script->soundDevicesChanged(); // another change: nothing more to say
    EXPECT_EQ(Graph()->soundDevice, "");
    EXPECT_EQ(player.SoundOutputInUse(), "");
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.at(0).at(0).toString(), QStringLiteral("출력 장치가 사라져 기본 출력으로 바꿨습니다"));

    // Back again, the output chosen takes the sound; the next medium opens on it.
    backend->script->soundDevices.push_back({"b", QStringLiteral("Headphones")});
    backend->script->soundDevicesChanged();
    EXPECT_EQ(Graph()->soundDevice, "b");
    ASSERT_TRUE(OpenAndWait(Media("next.mkv")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Graph()->soundDevice == "b"; }, 1000));
    EXPECT_EQ(said.size(), 1);
}

TEST_F(PlayerMediumTest, ChaptersPastTheEndAreLeftOutAndTheKeysSayWhenThereIsNoOther)
{
    FakeMediaInfo info;
    info.chapters = {{0, QStringLiteral("a")}, {5000, QStringLiteral("b")}, {12000, QStringLiteral("past")}};
    ASSERT_TRUE(OpenAndWait(Media("film.mkv", info)));
    ASSERT_EQ(player.Chapters().size(), 2u);
    QSignalSpy said(&player, &Player::message);
    struct Step {
        double at;
        int direction;
        double landsAt; ///< negative: stays, with `words`
        const char *words;
    } steps[] = {
        {1.0, +1, 5.0, ""},
        {6.0, +1, -1, "다음 챕터가 없습니다"},
        {6.0, -1, 0.0, ""},
        {2.0, -1, -1, "이전 챕터가 없습니다"},
    };
    for (const Step &s : steps) {
        Graph()->positionSeconds = s.at;
        said.clear();
        player.StepChapter(s.direction);
        EXPECT_EQ(Graph()->positionSeconds, s.landsAt < 0 ? s.at : s.landsAt) << s.at << " " << s.direction;
        EXPECT_EQ(said.isEmpty() ? QString() : said.at(0).at(0).toString(), QString::fromUtf8(s.words));
    }
    ASSERT_TRUE(OpenAndWait(Media("plain.mkv")));
    said.clear();
    player.StepChapter(+1);
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.at(0).at(0).toString(), QStringLiteral("챕터가 없습니다"));
}

} // namespace
} // namespace velmo::test
