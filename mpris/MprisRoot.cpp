#include "mpris/MprisRoot.h"

#include "mpris/PlayerPort.h"

namespace velmo::mpris {

MprisRoot::MprisRoot(QObject *parent, PlayerPort &port, QStringList mimeTypes)
    : QDBusAbstractAdaptor(parent), port_(port), mimeTypes_(std::move(mimeTypes))
{
}

QStringList MprisRoot::SupportedUriSchemes() const
{
    return {QStringLiteral("file"), QStringLiteral("http"), QStringLiteral("https"), QStringLiteral("rtsp")};
}

void MprisRoot::Raise()
{
    port_.Raise();
}

void MprisRoot::Quit()
{
    port_.Quit();
}

} // namespace velmo::mpris
