#pragma once

#include <QDBusAbstractAdaptor>
#include <QStringList>

namespace velmo::mpris {

class PlayerPort;

/// org.mpris.MediaPlayer2: who the player is, what it opens, raise and quit.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ CanQuit)
    Q_PROPERTY(bool CanRaise READ CanRaise)
    Q_PROPERTY(bool HasTrackList READ HasTrackList)
    Q_PROPERTY(QString Identity READ Identity)
    Q_PROPERTY(QString DesktopEntry READ DesktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ SupportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ SupportedMimeTypes)
public:
    /// Drives `port`; `mimeTypes` are those the desktop entry announces.
    MprisRoot(QObject *parent, PlayerPort &port, QStringList mimeTypes);

    bool CanQuit() const { return true; }
    bool CanRaise() const { return true; }
    bool HasTrackList() const { return false; }
    QString Identity() const { return QStringLiteral("Velmo"); }
    QString DesktopEntry() const { return QStringLiteral("velmo"); }
    QStringList SupportedUriSchemes() const;
    QStringList SupportedMimeTypes() const { return mimeTypes_; }

public slots:
    void Raise();
    void Quit();

private:
    PlayerPort &port_;
    QStringList mimeTypes_;
};

} // namespace velmo::mpris
