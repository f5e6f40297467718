#include "mpris/MprisService.h"

#include "mpris/MprisLog.h"
#include "mpris/MprisPlayer.h"
#include "mpris/MprisRoot.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace velmo::mpris {

Q_LOGGING_CATEGORY(lcMpris, "velmo.mpris")

MprisService::MprisService(PlayerPort &port, QStringList mimeTypes, QDBusConnection bus)
    : port_(port), bus_(std::move(bus))
{
    new MprisRoot(this, port, std::move(mimeTypes));
    player_ = new MprisPlayer(this, port);
    announced_ = port_.Snapshot();
    if (!Register())
        serviceName_.clear();
}

MprisService::~MprisService()
{
    if (serviceName_.isEmpty())
        return;
    bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    bus_.unregisterService(serviceName_);
}

bool MprisService::Register()
{
    if (!bus_.isConnected()) {
        qCInfo(lcMpris) << "no session bus: media keys and desktop controls will not reach the player"
                        << bus_.lastError().message();
        return false;
    }
    if (!bus_.registerObject(QString::fromLatin1(kObjectPath), this, QDBusConnection::ExportAdaptors)) {
        qCWarning(lcMpris) << "cannot register" << kObjectPath << bus_.lastError().message();
        return false;
    }
    // A second player takes a name of its own, as the interface allows.
    const QString base = QStringLiteral("org.mpris.MediaPlayer2.velmo");
    for (const QString &name :
         {base, base + QStringLiteral(".instance") + QString::number(QCoreApplication::applicationPid())}) {
        if (bus_.registerService(name)) {
            serviceName_ = name;
            return true;
        }
    }
    qCWarning(lcMpris) << "cannot take the bus name" << base << bus_.lastError().message();
    bus_.unregisterObject(QString::fromLatin1(kObjectPath));
    return false;
}

void MprisService::Refresh()
{
    const PlayerSnapshot now = port_.Snapshot();
    const QVariantMap changed = ChangedProperties(announced_, now);
    announced_ = now;
    if (changed.isEmpty() || serviceName_.isEmpty())
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(kObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QStringLiteral("org.mpris.MediaPlayer2.Player") << changed << QStringList();
    bus_.send(signal);
}

void MprisService::AnnounceSeek()
{
    if (!serviceName_.isEmpty())
        emit player_->Seeked(port_.PositionUs());
}

} // namespace velmo::mpris
