#pragma once

#include <QDBusConnection>
#include <QObject>

#include <cstdint>

namespace velmo::mpris {

/// Keeps the desktop from blanking or locking the screen while wanted, through
/// org.freedesktop.ScreenSaver on the session bus (the portal's inhibit asks
/// the same service on the desktops that have it). One inhibition at a time:
/// SetWanted(true) asks once, SetWanted(false) releases it. Without a bus or a
/// screen saver nothing happens; the bus itself drops the inhibition of a
/// player that dies.
class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QDBusConnection bus = QDBusConnection::sessionBus());
    /// Releases a held inhibition before the player goes.
    ~ScreenSaverInhibitor() override;

    void SetWanted(bool wanted);
    /// An inhibition is held (its cookie has arrived).
    bool Holding() const { return cookie_ != 0; }

private:
    void Ask(const QString &path);
    void OnCookie(const QString &path, bool ok, uint32_t cookie);
    void Release(bool wait);

    QDBusConnection bus_;
    bool wanted_ = false;
    bool asking_ = false;      ///< an Inhibit is on its way
    uint32_t cookie_ = 0;      ///< 0: none held
    QString heldPath_;         ///< the object the cookie belongs to
    bool warned_ = false;
};

} // namespace velmo::mpris
