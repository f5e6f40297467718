#pragma once

#include <QDBusConnection>
#include <QObject>

#include <cstdint>

namespace velmo::mpris {

/// Keeps the desktop from blanking or locking the screen while wanted, through
/// org.freedesktop.ScreenSaver on the session bus, or the desktop portal's
/// idle inhibition where no screen saver service answers. One inhibition at a
/// time: SetWanted(true) asks once, SetWanted(false) releases it. Without a bus
/// or either service nothing happens; the bus itself drops the inhibition of a
/// player that dies.
class ScreenSaverInhibitor : public QObject {
    Q_OBJECT
public:
    explicit ScreenSaverInhibitor(QDBusConnection bus = QDBusConnection::sessionBus());
    /// Releases a held inhibition before the player goes.
    ~ScreenSaverInhibitor() override;

    void SetWanted(bool wanted);
    /// An inhibition is held (its cookie or portal handle has arrived).
    bool Holding() const { return cookie_ != 0 || !handle_.isEmpty(); }

private:
    void Ask(const QString &path);
    void AskPortal();
    void OnCookie(const QString &path, bool ok, uint32_t cookie);
    void OnHandle(bool ok, const QString &handle);
    void Warn(const QDBusError &error);
    void Release(bool wait);

    QDBusConnection bus_;
    bool wanted_ = false;
    bool asking_ = false;      ///< an Inhibit is on its way
    uint32_t cookie_ = 0;      ///< 0: none held
    QString heldPath_;         ///< the object the cookie belongs to
    QString handle_;           ///< the portal's request object; empty: none held
    bool warned_ = false;
};

} // namespace velmo::mpris
