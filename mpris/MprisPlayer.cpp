#include "mpris/MprisPlayer.h"

#include "mpris/MprisLog.h"
#include "mpris/MprisValues.h"
#include "mpris/PlayerPort.h"

#include <QDBusContext>
#include <QDBusError>

namespace velmo::mpris {

QVariantMap MetadataOf(const PlayerSnapshot &snapshot)
{
    QVariantMap metadata;
    const QString trackId = snapshot.trackId.isEmpty() ? QString::fromLatin1(kNoTrackId) : snapshot.trackId;
    metadata.insert(QStringLiteral("mpris:trackid"), QVariant::fromValue(QDBusObjectPath(trackId)));
    if (trackId == QLatin1String(kNoTrackId))
        return metadata;
    if (snapshot.lengthUs > 0)
        metadata.insert(QStringLiteral("mpris:length"), qlonglong(snapshot.lengthUs));
    metadata.insert(QStringLiteral("xesam:title"), snapshot.title);
    metadata.insert(QStringLiteral("xesam:url"), snapshot.url);
    return metadata;
}

QVariantMap ChangedProperties(const PlayerSnapshot &before, const PlayerSnapshot &after)
{
    QVariantMap changed;
    const auto note = [&changed](bool differs, const char *name, const QVariant &value) {
        if (differs)
            changed.insert(QString::fromLatin1(name), value);
    };
    note(before.playbackStatus != after.playbackStatus, "PlaybackStatus", after.playbackStatus);
    note(before.rate != after.rate, "Rate", after.rate);
    note(before.volume != after.volume, "Volume", after.volume);
    note(before.trackId != after.trackId || before.lengthUs != after.lengthUs || before.title != after.title ||
             before.url != after.url,
         "Metadata", MetadataOf(after));
    note(before.canPlay != after.canPlay, "CanPlay", after.canPlay);
    note(before.canPlay != after.canPlay, "CanPause", after.canPlay);
    note(before.canSeek != after.canSeek, "CanSeek", after.canSeek);
    note(before.canGoNext != after.canGoNext, "CanGoNext", after.canGoNext);
    note(before.canGoPrevious != after.canGoPrevious, "CanGoPrevious", after.canGoPrevious);
    return changed;
}

MprisPlayer::MprisPlayer(QObject *parent, PlayerPort &port) : QDBusAbstractAdaptor(parent), port_(port) {}

QString MprisPlayer::PlaybackStatus() const { return port_.Snapshot().playbackStatus; }
double MprisPlayer::Rate() const { return port_.Snapshot().rate; }
QVariantMap MprisPlayer::Metadata() const { return MetadataOf(port_.Snapshot()); }
double MprisPlayer::Volume() const { return port_.Snapshot().volume; }
qlonglong MprisPlayer::Position() const { return port_.PositionUs(); }
double MprisPlayer::MinimumRate() const { return kMinimumRate; }
double MprisPlayer::MaximumRate() const { return kMaximumRate; }
bool MprisPlayer::CanGoNext() const { return port_.Snapshot().canGoNext; }
bool MprisPlayer::CanGoPrevious() const { return port_.Snapshot().canGoPrevious; }
bool MprisPlayer::CanPlay() const { return port_.Snapshot().canPlay; }
bool MprisPlayer::CanPause() const { return port_.Snapshot().canPlay; }
bool MprisPlayer::CanSeek() const { return port_.Snapshot().canSeek; }

void MprisPlayer::SetRate(double rate)
{
    switch (ClassifyRate(rate)) {
    case RateRequest::Apply: port_.SetRate(rate); break;
    case RateRequest::Pause: port_.Pause(); break;
    case RateRequest::Refuse: qCDebug(lcMpris) << "rate refused:" << rate; break;
    }
}

void MprisPlayer::SetVolume(double volume)
{
    port_.SetVolumePosition(SliderFromVolume(volume));
}

void MprisPlayer::Next()
{
    if (port_.Snapshot().canGoNext)
        port_.Next();
}

void MprisPlayer::Previous()
{
    if (port_.Snapshot().canGoPrevious)
        port_.Previous();
}

void MprisPlayer::Pause() { port_.Pause(); }
void MprisPlayer::PlayPause() { port_.PlayPause(); }
void MprisPlayer::Stop() { port_.Stop(); }
void MprisPlayer::Play() { port_.Play(); }

void MprisPlayer::Seek(qlonglong Offset)
{
    const PlayerSnapshot snapshot = port_.Snapshot();
    if (!snapshot.canSeek)
        return;
    const std::optional<int64_t> target = SeekTarget(port_.PositionUs(), Offset, snapshot.lengthUs);
    if (target)
        port_.SetPositionUs(*target);
    else
        Next(); // past the end: the next medium, if there is one
}

void MprisPlayer::SetPosition(const QDBusObjectPath &TrackId, qlonglong Position)
{
    const PlayerSnapshot snapshot = port_.Snapshot();
    // A stale track id (another medium since the client looked) is ignored.
    if (!snapshot.canSeek || TrackId.path() != snapshot.trackId || !AcceptsPosition(Position, snapshot.lengthUs))
        return;
    port_.SetPositionUs(Position);
}

void MprisPlayer::OpenUri(const QString &Uri)
{
    const std::optional<std::string> media = MediaFromUri(Uri);
    if (!media) {
        // The bus call's context belongs to the object the adaptor serves.
        auto *context = dynamic_cast<QDBusContext *>(parent());
        if (context && context->calledFromDBus())
            context->sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("cannot open this URI: ") + Uri);
        return;
    }
    port_.Open(*media);
}

} // namespace velmo::mpris
