#include "mpris/MprisValues.h"

#include "text/MediaAddress.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace velmo::mpris {

double VolumeFromSlider(int position)
{
    return std::clamp(position, 0, 100) / 100.0;
}

int SliderFromVolume(double volume)
{
    if (std::isnan(volume) || volume <= 0.0)
        return 0;
    if (volume >= 1.0)
        return 100;
    return static_cast<int>(std::lround(volume * 100.0));
}

int64_t MicrosFromSeconds(double seconds)
{
    if (!(seconds > 0.0))
        return 0;
    return static_cast<int64_t>(std::llround(seconds * 1e6));
}

double SecondsFromMicros(int64_t micros)
{
    return static_cast<double>(micros) / 1e6;
}

QString PlaybackStatusName(PlayState state)
{
    switch (state) {
    case PlayState::Playing: return QStringLiteral("Playing");
    case PlayState::Paused: return QStringLiteral("Paused");
    case PlayState::Stopped: break;
    }
    return QStringLiteral("Stopped");
}

QString TrackIdFor(const std::string &mediaPath)
{
    if (mediaPath.empty())
        return QString::fromLatin1(kNoTrackId);
    // An object path allows only [A-Za-z0-9_] in its elements: the medium's
    // digest stands for it.
    const QByteArray digest =
        QCryptographicHash::hash(QByteArray::fromStdString(mediaPath), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("/org/velmo/track/t") + QString::fromLatin1(digest);
}

std::optional<int64_t> SeekTarget(int64_t current, int64_t offset, int64_t length)
{
    // Saturating: an offset near the int64 limits must not wrap around.
    int64_t target = 0;
    if (__builtin_add_overflow(current, offset, &target))
        target = offset > 0 ? INT64_MAX : 0;
    if (length > 0 && target > length)
        return std::nullopt;
    return std::max<int64_t>(target, 0);
}

bool AcceptsPosition(int64_t position, int64_t length)
{
    return position >= 0 && position <= length;
}

RateRequest ClassifyRate(double rate)
{
    if (rate == 0.0)
        return RateRequest::Pause;
    if (rate >= kMinimumRate && rate <= kMaximumRate)
        return RateRequest::Apply;
    return RateRequest::Refuse; // also NaN, which compares false
}

std::optional<std::string> MediaFromUri(const QString &uri)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (uri.isEmpty() || !url.isValid())
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("file")) {
        if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
            return std::nullopt; // another machine's file
        QUrl local = url;
        local.setHost(QString());
        const QString path = local.toLocalFile();
        if (path.isEmpty())
            return std::nullopt;
        return QFile::encodeName(path).toStdString();
    }
    const bool address = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                         scheme == QLatin1String("rtsp");
    if (!address || url.host().isEmpty())
        return std::nullopt;
    return url.toString(QUrl::FullyEncoded).toStdString();
}

QString TitleFor(const std::string &mediaPath)
{
    if (!IsAddress(mediaPath))
        return QFileInfo(QFile::decodeName(QByteArray::fromStdString(mediaPath))).fileName();
    const QUrl url(QString::fromStdString(mediaPath));
    const QString name = url.fileName();
    return name.isEmpty() ? QString::fromStdString(mediaPath) : name;
}

QString UrlFor(const std::string &mediaPath)
{
    if (IsAddress(mediaPath))
        return QString::fromStdString(mediaPath);
    const QString path = QFile::decodeName(QByteArray::fromStdString(mediaPath));
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
}

} // namespace velmo::mpris
