#pragma once

// The real main window and Player on the fake graph, their bus on a private
// session bus of the test's own (dbus-run-session), a client on another
// connection and a stand-in screen saver on a third.

#include "BusStandIns.h"
#include "app/MainWindow.h"
#include "app/MessageBox.h"
#include "app/PlayerApp.h"
#include "app/PlayerBus.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velmo::test {

inline const QString kService = QStringLiteral("org.mpris.MediaPlayer2.velmo");
inline const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
inline const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

inline bool WaitFor(const std::function<bool()> &done, int ms = 3000)
{
    const QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class PlayerBusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session";
        PlayerAppOptions options;
        options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
        options.settingsFile = dir.path("velmo_init.ini");
        options.mediaBackend = backend;
        app = std::make_unique<PlayerApp>(options);
        previousExit = PlayerApp::SetExitFunction([this](int code) { exitCodes.push_back(code); });
        window = std::make_unique<MainWindow>(*app);
        window->OnInitDialog();
        saverBus.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver, QDBusConnection::ExportAllSlots);
        ASSERT_TRUE(saverBus.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
        bus = std::make_unique<PlayerBus>(*window, app->player, playerBus);
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
        window.reset();
        PlayerApp::SetExitFunction(previousExit);
        app.reset();
    }

    /// Makes a fake medium at `name` in the temporary folder.
    std::string Media(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = dir.path(name);
        backend->AddMedia(path, info);
        return path;
    }
    /// Waits until the open begun last has ended, well or not.
    bool OpenEnded() { return WaitFor([&] { return !app->player.Opening(); }); }

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
    static QString TrackOf(const QVariantMap &metadata)
    {
        return metadata.value(QStringLiteral("mpris:trackid")).value<QDBusObjectPath>().path();
    }
    QString Status() { return Get(QStringLiteral("PlaybackStatus")).toString(); }
    qlonglong Position() { return Get(QStringLiteral("Position")).toLongLong(); }
    /// Opens a fake medium through the bus, as a file: URI, and waits for the open's end.
    std::string OpenOverBus(const std::string &name, const FakeMediaInfo &info = {})
    {
        const std::string path = Media(name, info);
        Player(QStringLiteral("OpenUri"), {QUrl::fromLocalFile(QString::fromStdString(path)).toString()});
        EXPECT_TRUE(OpenEnded()) << name;
        return path;
    }

    TempDir dir;
    MessageBoxCapture messages;
    std::shared_ptr<FakeMediaBackend> backend = std::make_shared<FakeMediaBackend>();
    std::unique_ptr<PlayerApp> app;
    PlayerApp::ExitFunction previousExit;
    std::vector<int> exitCodes;
    std::unique_ptr<MainWindow> window;
    QDBusConnection playerBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("player"));
    QDBusConnection client = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("client"));
    QDBusConnection saverBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("saver"));
    StandInSaver saver;
    Announcements heard;
    std::unique_ptr<PlayerBus> bus;
};

} // namespace velmo::test
