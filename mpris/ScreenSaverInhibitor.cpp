#include "mpris/ScreenSaverInhibitor.h"

#include "mpris/MprisLog.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace velmo::mpris {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kInterface = QStringLiteral("org.freedesktop.ScreenSaver");
// Older desktops serve the interface at /ScreenSaver only.
const QString kPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kOldPath = QStringLiteral("/ScreenSaver");
const QString kReason = QStringLiteral("영상 재생 중");

// Sandboxed and some Wayland desktops answer only through the portal.
const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");
constexpr uint32_t kInhibitIdle = 8;

bool NobodyAnswers(const QDBusError &error)
{
    return error.type() == QDBusError::ServiceUnknown ||
           error.name() == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
}

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
    if (wanted && !Holding() && !asking_)
        Ask(kPath);
    else if (!wanted)
        Release(false); // an answer still on its way is released when it comes
}

void ScreenSaverInhibitor::Ask(const QString &path)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kInterface, QStringLiteral("Inhibit"));
    call << QStringLiteral("velmo") << kReason;
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
        if (reply.isError() && NobodyAnswers(reply.error())) {
            if (wanted_)
                AskPortal();
            else
                asking_ = false;
            return;
        }
        if (reply.isError())
            Warn(reply.error());
        OnCookie(path, !reply.isError(), reply.isError() ? 0 : reply.value());
    });
}

void ScreenSaverInhibitor::AskPortal()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kPortalInhibit,
                                                       QStringLiteral("Inhibit"));
    call << QString() << kInhibitIdle << QVariantMap{{QStringLiteral("reason"), kReason}};
    asking_ = true;
    auto *watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError())
            Warn(reply.error());
        OnHandle(!reply.isError(), reply.isError() ? QString() : reply.value().path());
    });
}

void ScreenSaverInhibitor::Warn(const QDBusError &error)
{
    if (warned_)
        return;
    warned_ = true;
    qCInfo(lcMpris) << "the screen saver cannot be held off:" << error.message();
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

void ScreenSaverInhibitor::OnHandle(bool ok, const QString &handle)
{
    asking_ = false;
    if (!ok || handle.isEmpty())
        return;
    handle_ = handle;
    if (!wanted_)
        Release(false); // released while the request was on its way
}

void ScreenSaverInhibitor::Release(bool wait)
{
    if (!Holding() || !bus_.isConnected())
        return;
    QDBusMessage call;
    if (cookie_) {
        call = QDBusMessage::createMethodCall(kService, heldPath_, kInterface, QStringLiteral("UnInhibit"));
        call << cookie_;
        cookie_ = 0;
    } else {
        // Closing the request the portal handed out ends its inhibition.
        call = QDBusMessage::createMethodCall(kPortalService, handle_, kPortalRequest, QStringLiteral("Close"));
        handle_.clear();
    }
    // At exit the call must be out before the connection closes.
    if (wait)
        bus_.call(call, QDBus::Block, 1000);
    else
        bus_.send(call);
}

} // namespace velmo::mpris
