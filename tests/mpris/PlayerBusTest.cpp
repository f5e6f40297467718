// The player on a private session bus (the test runs under dbus-run-session):
// the real main window and Player on the fake graph answer a bus client on
// another connection, and a stand-in screen saver records what it is asked.

#include "PlayerBusFixture.h"
#include "fixtures/MediaFixtures.h"
#include "mpris/MprisValues.h"
#include "resources/CommandIds.h"

#include <QDBusServiceWatcher>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <limits>

namespace velmo::test {
namespace {

TEST_F(PlayerBusTest, RootInterfaceNamesThePlayerAndItsDesktopEntry)
{
    const QString root = QStringLiteral("org.mpris.MediaPlayer2");
    EXPECT_EQ(Get(QStringLiteral("Identity"), root).toString(), QStringLiteral("Velmo"));
    EXPECT_EQ(Get(QStringLiteral("DesktopEntry"), root).toString(), QStringLiteral("velmo"));
    EXPECT_TRUE(Get(QStringLiteral("SupportedUriSchemes"), root).toStringList().contains(QStringLiteral("rtsp")));
    EXPECT_FALSE(Get(QStringLiteral("SupportedMimeTypes"), root).toStringList().isEmpty());
    Call(root, QStringLiteral("Quit"));
    EXPECT_TRUE(WaitFor([&] { return !exitCodes.empty(); }));
}

TEST_F(PlayerBusTest, TransportFromTheBusAndFromKeysReadsTheSame)
{
    EXPECT_EQ(Status(), QStringLiteral("Stopped"));
    EXPECT_EQ(Metadata().value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(),
              QString::fromLatin1(mpris::kNoTrackId));
    const std::string path = OpenOverBus("film.avi", {.duration = 10.0});
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path(), mpris::TrackIdFor(path));
    EXPECT_EQ(metadata.value(QStringLiteral("mpris:length")).toLongLong(), 10'000'000);
    EXPECT_EQ(metadata.value(QStringLiteral("xesam:title")).toString(), QStringLiteral("film.avi"));
    EXPECT_TRUE(Get(QStringLiteral("CanSeek")).toBool());

    struct Step { std::function<void()> act; const char *status; };
    const Step steps[] = {
        {[&] { Player(QStringLiteral("Pause")); }, "Paused"},
        {[&] { Player(QStringLiteral("Pause")); }, "Paused"},
        {[&] { Player(QStringLiteral("Play")); }, "Playing"},
        {[&] { Player(QStringLiteral("PlayPause")); }, "Paused"},
        {[&] { window->OnCommand(ID_PLAY_PAUSE); }, "Playing"},   // the key
        {[&] { Player(QStringLiteral("Stop")); }, "Stopped"},
        {[&] { Player(QStringLiteral("PlayPause")); }, "Playing"},
        {[&] { window->OnCommand(ID_HIDE); }, "Paused"},          // minimise-to-hide pauses
    };
    for (const Step &step : steps) {
        step.act();
        EXPECT_EQ(Status(), QString::fromLatin1(step.status));
        // Every change is announced, whoever made it.
        EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("PlaybackStatus")).toString() == QLatin1String(step.status); }))
            << step.status;
    }
    window->OnCommand(ID_CLOSE_MEDIA);
    EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("CanPlay")) == QVariant(false); }));
    EXPECT_EQ(Status(), QStringLiteral("Stopped"));
    // A container's own title names the film.
    OpenOverBus("tagged.mkv", {.duration = 10.0, .title = QStringLiteral("Streams sample")});
    EXPECT_EQ(Metadata().value(QStringLiteral("xesam:title")).toString(), QStringLiteral("Streams sample"));
}

TEST_F(PlayerBusTest, AFilmAtItsEndIsPausedThereAndPlayStartsItOver)
{
    OpenOverBus("film.avi", {.duration = 10.0});
    backend->LastGraph()->Complete();
    EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("PlaybackStatus")) == QVariant(QStringLiteral("Paused")); }));
    EXPECT_EQ(Status(), QStringLiteral("Paused"));
    EXPECT_EQ(Position(), 10'000'000);
    Player(QStringLiteral("Play"));
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
    EXPECT_EQ(Position(), 0);
    EXPECT_TRUE(WaitFor([&] { return !heard.seeks.isEmpty() && heard.seeks.last() == 0; })) << "the way back is announced";
}

TEST_F(PlayerBusTest, PositionsAreCheckedAgainstTheTrackAndItsLength)
{
    const std::string path = OpenOverBus("film.avi", {.duration = 10.0});
    const QDBusObjectPath track(mpris::TrackIdFor(path));
    const QDBusObjectPath stale(mpris::TrackIdFor(path + ".old"));
    struct Case { QString method; QVariantList arguments; qlonglong position; };
    const Case cases[] = {
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(4'000'000)}, 4'000'000},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(stale), qlonglong(1'000'000)}, 4'000'000},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(-1)}, 4'000'000},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track), QStringLiteral("1000000")}, 4'000'000},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track)}, 4'000'000},
        {QStringLiteral("Seek"), {2.5}, 4'000'000},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(10'000'001)}, 4'000'000},
        {QStringLiteral("Seek"), {qlonglong(1'500'000)}, 5'500'000},
        {QStringLiteral("Seek"), {qlonglong(-60'000'000)}, 0},
        {QStringLiteral("Seek"), {qlonglong(60'000'000)}, 0},   // past the end with no next medium: nothing
        {QStringLiteral("Seek"), {QStringLiteral("5")}, 0},     // wrong argument type: refused
    };
    for (const Case &c : cases) {
        Player(c.method, c.arguments);
        EXPECT_EQ(Position(), c.position) << c.method.toStdString() << " " << c.position;
    }
    // Seeks of the bus and of the keys both say where they landed.
    window->OnCommand(ID_JUMP_MIDDLE);
    EXPECT_TRUE(WaitFor([&] { return heard.seeks.size() == 4; }));
    EXPECT_EQ(heard.seeks, (QList<qlonglong>{4'000'000, 5'500'000, 0, 5'000'000}));
}

TEST_F(PlayerBusTest, VolumeAndRateFollowThePanelsRules)
{
    OpenOverBus("film.avi");
    struct Case { QVariant volume; int slider; double readBack; };
    const Case cases[] = {{0.5, 50, 0.5},
                          {1.7, 100, 1.0},
                          {0.3, 30, 0.3},
                          {std::numeric_limits<double>::quiet_NaN(), 0, 0.0},
                          {std::numeric_limits<double>::infinity(), 100, 1.0},
                          {-0.2, 0, 0.0},
                          {QStringLiteral("loud"), 0, 0.0}};
    for (const Case &c : cases) {
        Set(QStringLiteral("Volume"), c.volume);
        EXPECT_EQ(app->player.VolumePosition(), c.slider) << c.volume.toString().toStdString();
        EXPECT_DOUBLE_EQ(Get(QStringLiteral("Volume")).toDouble(), c.readBack);
    }
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("Volume")) == QVariant(0.01); }));

    Set(QStringLiteral("Rate"), 2.0);
    Set(QStringLiteral("Rate"), 4.0);
    Set(QStringLiteral("Rate"), std::numeric_limits<double>::quiet_NaN());
    Set(QStringLiteral("Rate"), QStringLiteral("fast"));
    EXPECT_EQ(Get(QStringLiteral("Rate")).toDouble(), 2.0);
    EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("Rate")) == QVariant(2.0); }));
    Set(QStringLiteral("Rate"), 0.0);
    EXPECT_EQ(Status(), QStringLiteral("Paused"));

    // The menu's rates, from their keys, are the bus's rates too.
    for (const auto &[key, rate] : {std::pair{Qt::Key_1, 0.5}, std::pair{Qt::Key_3, 2.0}}) {
        QTest::keyClick(window.get(), key, Qt::ControlModifier);
        EXPECT_EQ(Get(QStringLiteral("Rate")).toDouble(), rate);
        EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("Rate")) == QVariant(rate); })) << rate;
    }
}

TEST_F(PlayerBusTest, MalformedUrisAreRefusedAndTheMediumStays)
{
    const std::string path = OpenOverBus("film.avi");
    for (const char *uri : {"::bad", "ftp://host/a.avi", "", "http://"}) {
        const QDBusMessage reply = Player(QStringLiteral("OpenUri"), {QString::fromLatin1(uri)});
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << uri;
        EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")) << uri;
    }
    EXPECT_EQ(app->player.MediumPath(), path);
    EXPECT_EQ(Status(), QStringLiteral("Playing"));
}

TEST_F(PlayerBusTest, NextAndPreviousStepThroughTheFolder)
{
    EXPECT_FALSE(Get(QStringLiteral("CanGoNext")).toBool()); // nothing open
    // The folder is read from disk; the fake graph plays what it was told of.
    dir.write("ep1.avi", "x");
    dir.write("ep2.avi", "x");
    const std::string second = Media("ep2.avi");
    const std::string first = OpenOverBus("ep1.avi");
    EXPECT_TRUE(Get(QStringLiteral("CanGoNext")).toBool());
    Player(QStringLiteral("Next"));
    ASSERT_TRUE(OpenEnded());
    EXPECT_EQ(app->player.MediumPath(), second);
    EXPECT_TRUE(app->player.HasMedium());
    Player(QStringLiteral("Previous"));
    ASSERT_TRUE(OpenEnded());
    EXPECT_EQ(app->player.MediumPath(), first);
    EXPECT_TRUE(app->player.HasMedium());
}

TEST_F(PlayerBusTest, NextAndPreviousWalkTheListWhileOneOfItsEntriesPlays)
{
    const std::string later = Media("b/later.avi"), sooner = Media("a/sooner.avi");
    app->player.AddToList({later, sooner});
    app->player.PlayEntry(0);
    ASSERT_TRUE(OpenEnded());
    EXPECT_TRUE(Get(QStringLiteral("CanGoPrevious")).toBool());
    Player(QStringLiteral("Next"));
    ASSERT_TRUE(OpenEnded());
    EXPECT_EQ(app->player.MediumPath(), sooner) << "the list's next, from another folder";
    Player(QStringLiteral("Previous"));
    ASSERT_TRUE(OpenEnded());
    EXPECT_EQ(app->player.MediumPath(), later);
}

TEST_F(PlayerBusTest, ScreenSaverIsHeldOffExactlyWhileAPicturePlays)
{
    const QString inhibit = QStringLiteral("Inhibit(velmo, 영상 재생 중)");
    struct Step { std::function<void()> act; QString call; };
    const Step steps[] = {
        {[&] { OpenOverBus("film.avi"); }, inhibit},
        {[&] { window->OnCommand(ID_PLAY_PAUSE); }, QStringLiteral("UnInhibit(1)")},
        {[&] { window->OnCommand(ID_PLAY_PAUSE); }, inhibit},
        {[&] { window->OnCommand(ID_HIDE); }, QStringLiteral("UnInhibit(2)")},
        {[&] { window->showNormal(); }, inhibit},                 // restoring unhides and plays
        {[&] { window->OnCommand(ID_STOP); }, QStringLiteral("UnInhibit(3)")},
        {[&] { OpenOverBus("song.mp3", {.width = 0, .height = 0}); }, QString()}, // sound only
        {[&] { OpenOverBus("film2.avi"); }, inhibit},
        {[&] { window->OnCommand(ID_CLOSE_MEDIA); }, QStringLiteral("UnInhibit(4)")},
        {[&] { OpenOverBus("film3.avi"); }, inhibit},
        {[&] { window->OnCommand(ID_EXIT); }, QStringLiteral("UnInhibit(5)")},
    };
    QStringList expected;
    for (const Step &step : steps) {
        step.act();
        if (!step.call.isEmpty())
            expected << step.call;
        WaitFor([&] { return saver.calls.size() >= expected.size(); }, 1000);
        QCoreApplication::processEvents();
        EXPECT_EQ(saver.calls, expected);
    }
}

TEST_F(PlayerBusTest, WithoutAScreenSaverThePortalHoldsTheScreen)
{
    saverBus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
    StandInPortal portal;
    saverBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal, QDBusConnection::ExportAllSlots);
    ASSERT_TRUE(saverBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    const QString inhibit = QStringLiteral("Inhibit(, 8, 영상 재생 중)");
    struct Step { std::function<void()> act; QString call; };
    const Step steps[] = {
        {[&] { OpenOverBus("film.avi"); }, inhibit},
        {[&] { window->OnCommand(ID_PLAY_PAUSE); }, QStringLiteral("Close(1)")},
        {[&] { window->OnCommand(ID_PLAY_PAUSE); }, inhibit},
        {[&] { window->OnCommand(ID_EXIT); }, QStringLiteral("Close(2)")},
    };
    QStringList expected;
    for (const Step &step : steps) {
        step.act();
        expected << step.call;
        WaitFor([&] { return portal.calls.size() >= expected.size(); }, 1000);
        QCoreApplication::processEvents();
        EXPECT_EQ(portal.calls, expected);
    }
    EXPECT_TRUE(saver.calls.isEmpty());
}

TEST_F(PlayerBusTest, WithoutABusThePlayerRunsUnannounced)
{
    bus.reset();
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("none"));
    PlayerBus alone(*window, app->player, none);
    EXPECT_TRUE(alone.ServiceName().isEmpty());
    window->OpenMedia(Media("film.avi"));
    ASSERT_TRUE(OpenEnded());
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(alone.Snapshot().playbackStatus, QStringLiteral("Paused"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(saver.calls.isEmpty());
}

// A client may call while an open is under way: nothing plays yet, so the bus
// reads as without a medium and its transport calls find nothing to act on,
// without failing. The open's end is announced as any other change.
TEST_F(PlayerBusTest, CallsDuringAnOpenFindNothingPlayingAndItsEndIsAnnounced)
{
    const std::string first = OpenOverBus("first.avi", {.duration = 10.0});
    const std::string slow = Media("slow.avi", {.duration = 20.0, .answers = false});
    window->OpenMedia(slow);
    ASSERT_TRUE(app->player.Opening());
    const size_t before = backend->script->calls.size();
    const QDBusObjectPath track(mpris::TrackIdFor(slow));
    struct Case { QString method; QVariantList arguments; };
    const Case cases[] = {
        {QStringLiteral("PlayPause"), {}},
        {QStringLiteral("Play"), {}},
        {QStringLiteral("Pause"), {}},
        {QStringLiteral("Seek"), {qlonglong(3'000'000)}},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(track), qlonglong(2'000'000)}},
        {QStringLiteral("SetPosition"), {QVariant::fromValue(QDBusObjectPath(mpris::TrackIdFor(first))), qlonglong(0)}},
    };
    for (const Case &c : cases) {
        const QDBusMessage reply = Player(c.method, c.arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << c.method.toStdString() << ": " << reply.errorMessage().toStdString();
        EXPECT_EQ(Status(), QStringLiteral("Stopped")) << c.method.toStdString();
        EXPECT_EQ(TrackOf(Metadata()), QString::fromLatin1(mpris::kNoTrackId)) << c.method.toStdString();
        EXPECT_EQ(Position(), 0) << c.method.toStdString();
        EXPECT_FALSE(Get(QStringLiteral("CanSeek")).toBool());
    }
    EXPECT_TRUE(app->player.Opening()) << "a call ended or replaced the open";
    EXPECT_EQ(backend->script->calls.size(), before) << "a call reached a graph";

    heard.changes.clear();
    ASSERT_TRUE(backend->AnswerRender());
    EXPECT_TRUE(WaitFor([&] { return TrackOf(qdbus_cast<QVariantMap>(heard.Last(QStringLiteral("Metadata")))) ==
                                     mpris::TrackIdFor(slow); }));
    EXPECT_TRUE(WaitFor([&] { return heard.Last(QStringLiteral("PlaybackStatus")) == QVariant(QStringLiteral("Playing")); }));
    EXPECT_EQ(qdbus_cast<QVariantMap>(heard.Last(QStringLiteral("Metadata"))).value(QStringLiteral("mpris:length")).toLongLong(),
              20'000'000);
    EXPECT_EQ(Position(), 0); // the seeks asked for during the open were not kept for later
}

// The real player, killed while it holds the screen saver off: the bus tells
// the saver that its caller is gone, so the saver can drop the inhibition.
TEST_F(PlayerBusTest, BusTellsTheSaverWhenThePlayerDies)
{
    // A folder of its own that sees the skin: the player writes its records there.
    const QString work = QString::fromStdString(dir.path("work"));
    ASSERT_TRUE(QDir().mkpath(work + QStringLiteral("/skin")));
    ASSERT_TRUE(QFile::link(QStringLiteral(VELMO_SOURCE_DIR "/skin/default"), work + QStringLiteral("/skin/default")));
    QProcess player;
    player.setWorkingDirectory(work);
    player.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    player.start(QStringLiteral(VELMO_PLAYER), {QString::fromStdString(FixturePath("long.mkv"))});
    ASSERT_TRUE(WaitFor([&] { return saver.lastCookie == 1; }, 20000)) << "the player never inhibited";
    QDBusServiceWatcher watcher(saver.lastSender, saverBus, QDBusServiceWatcher::WatchForUnregistration);
    bool gone = false;
    QObject::connect(&watcher, &QDBusServiceWatcher::serviceUnregistered, [&](const QString &) { gone = true; });
    player.kill();
    player.waitForFinished();
    EXPECT_TRUE(WaitFor([&] { return gone; }));
    EXPECT_EQ(saver.calls, QStringList{QStringLiteral("Inhibit(velmo, 영상 재생 중)")}); // it never released
}

} // namespace
} // namespace velmo::test
