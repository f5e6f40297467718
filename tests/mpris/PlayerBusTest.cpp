// The player on a private session bus (the test runs under dbus-run-session):
// the real main window on the fake graph answers a bus client on another
// connection, and a stand-in screen saver records what it is asked.

#include "app/MainWindowFixture.h"
#include "app/PlayerBus.h"
#include "fixtures/MediaFixtures.h"
#include "mpris/MprisValues.h"
#include "resources/CommandIds.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDBusContext>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QUrl>

namespace velmo::test {
namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.velmo");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

bool WaitFor(const std::function<bool()> &done, int ms = 3000)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

/// What the bus announces: PropertiesChanged and Seeked, as a client hears them.
class Announcements : public QObject {
    Q_OBJECT
public slots:
    void OnChanged(const QString &, const QVariantMap &changed, const QStringList &) { changes.append(changed); }
    void OnSeeked(qlonglong position) { seeks.append(position); }

public:
    /// The last value announced for `name`.
    QVariant Last(const QString &name) const
    {
        for (auto it = changes.crbegin(); it != changes.crend(); ++it)
            if (it->contains(name))
                return it->value(name);
        return {};
    }
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;
};

/// A desktop's screen saver, as far as the player can see it.
class StandInSaver : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
public slots:
    uint Inhibit(const QString &application, const QString &reason)
    {
        calls << QStringLiteral("Inhibit(%1, %2)").arg(application, reason);
        lastSender = message().service();
        return ++lastCookie;
    }
    void UnInhibit(uint cookie) { calls << QStringLiteral("UnInhibit(%1)").arg(cookie); }

public:
    QStringList calls;
    uint lastCookie = 0;
    QString lastSender; ///< the unique bus name of the last Inhibit's caller
};

/// The portal's request objects; closing one is logged by its number.
class PortalRequest : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public slots:
    void Close() { calls << QStringLiteral("Close(%1)").arg(message().path().section(u'/', -1)); }

public:
    explicit PortalRequest(QStringList &log) : calls(log) {}
    QStringList &calls;
};

/// A desktop portal with no screen saver beside it: each Inhibit hands out a
/// request object of its own, and closing that object ends the inhibition.
class StandInPortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Inhibit")
public slots:
    QDBusObjectPath Inhibit(const QString &window, uint flags, const QVariantMap &options)
    {
        calls << QStringLiteral("Inhibit(%1, %2, %3)").arg(window).arg(flags).arg(options.value(QStringLiteral("reason")).toString());
        const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/velmo/%1").arg(++requests);
        connection().registerObject(handle, &request, QDBusConnection::ExportAllSlots);
        return QDBusObjectPath(handle);
    }

public:
    QStringList calls;
    int requests = 0;
    PortalRequest request{calls};
};

class PlayerBusTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        window->OnInitDialog();
        AttachPanels();
        saverBus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots);
        ASSERT_TRUE(saverBus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
        bus = std::make_unique<PlayerBus>(*window, *app, playerBus);
        ASSERT_EQ(bus->ServiceName(), kService);
        client.connect(kService, kPath, kProperties, QStringLiteral("PropertiesChanged"), &heard,
                       SLOT(OnChanged(QString, QVariantMap, QStringList)));
        client.connect(kService, kPath, kPlayer, QStringLiteral("Seeked"), &heard, SLOT(OnSeeked(qlonglong)));
    }

    void TearDown() override
    {
        bus.reset();
        saverBus.unregisterService(QStringLiteral("org.freedesktop.ScreenSaver"));
        saverBus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        MainWindowTest::TearDown();
    }

    QDBusMessage Call(const QString &interface, const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        call.setArguments(arguments);
        QDBusPendingCall pending = client.asyncCall(call, 3000);
        WaitFor([&] { return pending.isFinished(); });
        return pending.reply();
    }
    QDBusMessage Player(const QString &method, const QVariantList &arguments = {})
    {
        return Call(kPlayer, method, arguments);
    }
    QVariant Get(const QString &name, const QString &interface = kPlayer)
    {
        const QDBusMessage reply = Call(kProperties, QStringLiteral("Get"), {interface, name});
        return reply.arguments().isEmpty() ? QVariant() : reply.arguments().front().value<QDBusVariant>().variant();
    }
    QDBusMessage Set(const QString &name, const QVariant &value)
    {
        return Call(kProperties, QStringLiteral("Set"), {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap Metadata() { return qdbus_cast<QVariantMap>(Get(QStringLiteral("Metadata"))); }
    QString Status() { return Get(QStringLiteral("PlaybackStatus")).toString(); }
    qlonglong Position() { return Get(QStringLiteral("Position")).toLongLong(); }
    /// Opens a fake medium through the bus, as a file: URI.
    std::string OpenOverBus(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = Media(name, info);
        Player(QStringLiteral("OpenUri"), {QUrl::fromLocalFile(QString::fromStdString(path)).toString()});
        return path;
    }

    QDBusConnection playerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("player"));
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    QDBusConnection saverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("saver"));
    StandInSaver saver;
    Announcements heard;
    std::unique_ptr<PlayerBus> bus;
};

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
        EXPECT_EQ(controlPanel->volume, c.slider) << c.volume.toString().toStdString();
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
}

TEST_F(PlayerBusTest, MalformedUrisAreRefusedAndTheMediumStays)
{
    const std::string path = OpenOverBus("film.avi");
    for (const char *uri : {"::bad", "ftp://host/a.avi", "", "http://"}) {
        const QDBusMessage reply = Player(QStringLiteral("OpenUri"), {QString::fromLatin1(uri)});
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << uri;
        EXPECT_EQ(reply.errorName(), QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs")) << uri;
    }
    EXPECT_EQ(app->mediaGraph.mediaPath, path);
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
    EXPECT_EQ(app->mediaGraph.mediaPath, second);
    Player(QStringLiteral("Previous"));
    EXPECT_EQ(app->mediaGraph.mediaPath, first);
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
    PlayerBus alone(*window, *app, none);
    EXPECT_TRUE(alone.ServiceName().isEmpty());
    window->OpenMedia(Media("film.avi"));
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(alone.Snapshot().playbackStatus, QStringLiteral("Paused"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(saver.calls.isEmpty());
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

#include "PlayerBusTest.moc"
