// The sound outputs with a real sound server: a PulseAudio server of the
// test's own with two null sinks gives GStreamer's device monitor real
// outputs; the one playing is unloaded under the player.

#include "engine/MediaBackend.h"
#include "engine/MediaGraph.h"
#include "fixtures/MediaFixtures.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gst/gst.h>
#include <gtest/gtest.h>

namespace velmo::test {
namespace {

class SoundOutputRealTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pulseaudio")).isEmpty())
            GTEST_SKIP() << "pulseaudio is not installed (scripts/deps.sh installs it)";
        ASSERT_TRUE(gst_init_check(nullptr, nullptr, nullptr));
        ASSERT_TRUE(EnsureFixtures());
        // The player looks for the server here; it must be set before it first looks.
        qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.path()));
        qputenv("HOME", QByteArray::fromStdString(runtime.path()));
        const std::string config = runtime.write("velmo.pa",
            "load-module module-native-protocol-unix auth-anonymous=1\n"
            "load-module module-null-sink sink_name=velmo_a sink_properties=device.description=Velmo-A\n"
            "load-module module-null-sink sink_name=velmo_b sink_properties=device.description=Velmo-B\n");
        server.start(QStringLiteral("pulseaudio"), {"-n", "-F", QString::fromStdString(config), "--daemonize=no",
                                                    "--exit-idle-time=-1", "--log-target=stderr"});
        ASSERT_TRUE(server.waitForStarted(5000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFileInfo::exists(QString::fromStdString(runtime.path("pulse/native"))); }, 5000))
            << "the sound server did not start";
    }
    void TearDown() override
    {
        player.reset();
        graph.reset();
        server.kill();
        server.waitForFinished(3000);
    }
    /// What pactl prints for `args`.
    static QString Pactl(const QStringList &args)
    {
        QProcess pactl;
        pactl.start(QStringLiteral("pactl"), args);
        pactl.waitForFinished(5000);
        return QString::fromUtf8(pactl.readAllStandardOutput());
    }
    /// The sink the player's stream plays on (a fresh server numbers velmo_a 0, velmo_b 1); empty without one.
    static QString SinkPlaying()
    {
        const QStringList inputs = Pactl({"list", "short", "sink-inputs"}).split('\n', Qt::SkipEmptyParts);
        const QString sink = inputs.size() == 1 ? inputs[0].section('\t', 1, 1) : QString();
        return sink == "0" ? QStringLiteral("velmo_a") : sink == "1" ? QStringLiteral("velmo_b") : QString();
    }

    TempDir runtime;
    TempDir dir;
    QProcess server;
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    std::unique_ptr<MediaGraph> graph = std::make_unique<MediaGraph>(CreateGstMediaBackend());
    std::unique_ptr<Player> player = std::make_unique<Player>(*graph, settings, look);
};

TEST_F(SoundOutputRealTest, TheOutputPlayingGoesAndTheSoundMovesToTheDefault)
{
    QSignalSpy opened(player.get(), &Player::opened);
    player->Open(FixturePath("streams.mkv"));
    ASSERT_TRUE(opened.wait(10000));
    ASSERT_TRUE(QTest::qWaitFor([] { return SinkPlaying() == QLatin1String("velmo_a"); }, 5000));

    const std::vector<SoundDevice> outputs = player->SoundOutputs();
    ASSERT_EQ(outputs, (std::vector<SoundDevice>{{"", QStringLiteral("기본 출력")},
                                                 {"velmo_a", QStringLiteral("Velmo-A"), true},
                                                 {"velmo_b", QStringLiteral("Velmo-B")}}));
    player->ChooseSoundOutput("velmo_b");
    EXPECT_TRUE(QTest::qWaitFor([] { return SinkPlaying() == QLatin1String("velmo_b"); }, 3000));

    QSignalSpy said(player.get(), &Player::message);
    const QString module = Pactl({"list", "short", "modules"}).split('\n').filter("velmo_b").value(0).section('\t', 0, 0);
    Pactl({"unload-module", module});
    EXPECT_TRUE(QTest::qWaitFor([&] { return !said.isEmpty(); }, 3000));
    QTest::qWait(300); // nothing more is said
    ASSERT_EQ(said.size(), 1);
    EXPECT_EQ(said.at(0).at(0).toString(), QStringLiteral("출력 장치가 사라져 기본 출력으로 바꿨습니다"));
    EXPECT_EQ(SinkPlaying(), QStringLiteral("velmo_a"));
    EXPECT_EQ(player->State(), PlayState::Running);
    EXPECT_EQ(player->SoundOutputs().size(), 2u);
}

} // namespace
} // namespace velmo::test
