#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusObjectPath>
#include <QVariantMap>

namespace velmo::mpris {

class PlayerPort;
struct PlayerSnapshot;

/// The Metadata map of a snapshot: the track id alone without media; with
/// media also the title, the URL and, when known, the length.
QVariantMap MetadataOf(const PlayerSnapshot &snapshot);
/// The player properties that differ between two snapshots, by their bus
/// names, with their new values (what PropertiesChanged carries).
QVariantMap ChangedProperties(const PlayerSnapshot &before, const PlayerSnapshot &after);

/// org.mpris.MediaPlayer2.Player: transport, position, rate and volume. Calls
/// are checked here against the interface's rules; what passes goes to the
/// player's port.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ PlaybackStatus)
    Q_PROPERTY(double Rate READ Rate WRITE SetRate)
    Q_PROPERTY(QVariantMap Metadata READ Metadata)
    Q_PROPERTY(double Volume READ Volume WRITE SetVolume)
    Q_PROPERTY(qlonglong Position READ Position)
    Q_PROPERTY(double MinimumRate READ MinimumRate)
    Q_PROPERTY(double MaximumRate READ MaximumRate)
    Q_PROPERTY(bool CanGoNext READ CanGoNext)
    Q_PROPERTY(bool CanGoPrevious READ CanGoPrevious)
    Q_PROPERTY(bool CanPlay READ CanPlay)
    Q_PROPERTY(bool CanPause READ CanPause)
    Q_PROPERTY(bool CanSeek READ CanSeek)
    Q_PROPERTY(bool CanControl READ CanControl)
public:
    MprisPlayer(QObject *parent, PlayerPort &port);

    QString PlaybackStatus() const;
    double Rate() const;
    void SetRate(double rate);
    QVariantMap Metadata() const;
    double Volume() const;
    void SetVolume(double volume);
    qlonglong Position() const;
    double MinimumRate() const;
    double MaximumRate() const;
    bool CanGoNext() const;
    bool CanGoPrevious() const;
    bool CanPlay() const;
    bool CanPause() const;
    bool CanSeek() const;
    bool CanControl() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong Offset);
    void SetPosition(const QDBusObjectPath &TrackId, qlonglong Position);
    void OpenUri(const QString &Uri);

signals:
    /// The position jumped (any seek, whatever asked for it), microseconds.
    void Seeked(qlonglong Position);

private:
    PlayerPort &port_;
};

} // namespace velmo::mpris
