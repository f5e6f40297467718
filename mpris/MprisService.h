#pragma once

#include "mpris/PlayerPort.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QStringList>

namespace velmo::mpris {

class MprisPlayer;

/// The player on the session bus as org.mpris.MediaPlayer2.velmo, object
/// /org/mpris/MediaPlayer2 with the root and player interfaces. Refresh after
/// any change of the player announces what changed; AnnounceSeek after a seek.
class MprisService : public QObject, public QDBusContext {
    Q_OBJECT
public:
    static constexpr char kObjectPath[] = "/org/mpris/MediaPlayer2";

    /// Registers on `bus`; without a bus (or with the name taken by another
    /// player and its per-process name too) logs once and stays unregistered:
    /// the player runs on as without it.
    MprisService(PlayerPort &port, QStringList mimeTypes, QDBusConnection bus = QDBusConnection::sessionBus());
    ~MprisService() override;

    /// The bus name held; empty when unregistered.
    QString ServiceName() const { return serviceName_; }
    /// Sends PropertiesChanged for the player properties that changed since the last call.
    void Refresh();
    /// Sends Seeked with the position now.
    void AnnounceSeek();

private:
    bool Register();

    PlayerPort &port_;
    QDBusConnection bus_;
    MprisPlayer *player_ = nullptr;
    QString serviceName_;
    PlayerSnapshot announced_;
};

} // namespace velmo::mpris
