#include "mpris/ScreenSaverInhibitor.h"

#include "mpris/MprisLog.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace velmo::mpris {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// Older desktops serve the interface at /ScreenSaver only.
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kOldPath = QStringLiteral("/ScreenSaver");

} // namespace

ScreenSaverInhibitor::ScreenSaverInhibitor(QDBusConnection bus) : bus_(std::move(bus)) {}

ScreenSaverInhibitor::~ScreenSaverInhibitor()
{
    wanted_ = false;
    Release(true);
}

void ScreenSaverInhibitor::SetWanted(bool wanted)
{
    wanted_ = wanted;
    if (!bus_.isConnected())
        return;
    if (wanted && !cookie_ && !asking_)
        Ask(kPath);
    else if (!wanted)
        Release(false); // an answer still on its way is released when it comes
}

void ScreenSaverInhibitor::Ask(const QString &path)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("velmo") << QStringLiteral("영상 재생 중");
    asking_ = true;
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<uint32_t> reply = *w;
        if (reply.isError() && path == kPath &&
            (reply.error().type() == QDBusError::UnknownObject || reply.error().type() == QDBusError::UnknownMethod)) {
            Ask(kOldPath);
            return;
        }
        if (reply.isError() && !warned_) {
            warned_ = true;
            qCInfo(lcMpris) << "the screen saver cannot be held off:" << reply.error().message();
        }
        OnCookie(path, !reply.isError(), reply.isError() ? 0 : reply.value());
    });
}

void ScreenSaverInhibitor::OnCookie(const QString &path, bool ok, uint32_t cookie)
{
    asking_ = false;
    if (!ok)
        return;
    cookie_ = cookie;
    heldPath_ = path;
    if (!wanted_)
        Release(false); // released while the request was on its way
}

void ScreenSaverInhibitor::Release(bool wait)
{
    if (!cookie_ || !bus_.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, heldPath_, kInterface, QStringLiteral("UnInhibit"));
    call << cookie_;
    cookie_ = 0;
    // At exit the call must be out before the connection closes.
    if (wait)
        bus_.call(call, QDBus::Block, 1000);
    else
        bus_.send(call);
}

} // namespace velmo::mpris
