#pragma once

// What stands on the private session bus beside the player in its tests: a
// client's ear for announcements, a desktop's screen saver, and a desktop
// portal with no screen saver beside it.

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace velmo::test {

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

} // namespace velmo::test
