// The player's tracks: the medium's sound and subtitle streams, the choice
// of them at an open and by the user, and the keys that go round them.

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/PlayerSettings.h"
#include "player/ResumeStore.h"
#include "player/TrackRules.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlayerTracks, "velmo.player.tracks")

namespace {

std::vector<QString> Labels(const std::vector<StreamInfo> &streams)
{
    std::vector<QString> labels;
    labels.reserve(streams.size());
    for (const StreamInfo &stream : streams)
        labels.push_back(TrackLabel(stream));
    return labels;
}

} // namespace

std::vector<QString> Player::AudioTracks() const
{
    return graph_.audioStreams ? Labels(graph_.audioStreams->AudioStreams()) : std::vector<QString>();
}

int Player::CurrentAudioTrack() const
{
    return graph_.audioStreams ? graph_.audioStreams->CurrentAudioStream() : -1;
}

void Player::ChooseAudioTrack(int index)
{
    if (!graph_.audioStreams || Failed(graph_.audioStreams->SetCurrentAudioStream(index)))
        return;
    qCInfo(lcPlayerTracks, "sound track %d of %s", index, path_.c_str());
    emit stateChanged();
}

void Player::CycleAudioTrack()
{
    if (!graph_.audioStreams)
        return;
    const std::vector<StreamInfo> streams = graph_.audioStreams->AudioStreams();
    if (streams.size() < 2) {
        emit message(streams.empty() ? QStringLiteral("음성 트랙이 없습니다") : QStringLiteral("음성 트랙이 하나뿐입니다"), 0);
        return;
    }
    const int next = (std::max(CurrentAudioTrack(), -1) + 1) % int(streams.size());
    ChooseAudioTrack(next);
    emit message(QStringLiteral("음성: ") + TrackLabel(streams[size_t(next)]), 0);
}

std::vector<QString> Player::SubtitleTracks() const
{
    return graph_.audioStreams ? Labels(graph_.audioStreams->TextStreams()) : std::vector<QString>();
}

QString Player::CaptionFileName() const
{
    return captionFile_.empty() ? QString() : QFileInfo(QFile::decodeName(QByteArray::fromStdString(captionFile_))).fileName();
}

int Player::SubtitleChoice() const
{
    return graph_.audioStreams ? graph_.audioStreams->SubtitleShown() : (captionFile_.empty() ? kSubtitleNone : kSubtitleFiles);
}

void Player::ChooseSubtitle(int choice)
{
    if (!graph_.audioStreams || (choice == kSubtitleFiles && captionFile_.empty()))
        return;
    if (Failed(graph_.audioStreams->ShowSubtitle(choice)))
        return;
    emit captionChanged();
}

void Player::CycleSubtitle()
{
    if (!graph_.audioStreams)
        return;
    const int count = int(graph_.audioStreams->TextStreams().size());
    const int next = NextSubtitle(SubtitleChoice(), count, !captionFile_.empty());
    ChooseSubtitle(next);
    emit message(QStringLiteral("자막: ") + SubtitleName(next), 0);
}

QString Player::SubtitleName(int choice) const
{
    if (choice == kSubtitleNone)
        return QStringLiteral("자막 없음");
    if (choice == kSubtitleFiles)
        return CaptionFileName();
    const std::vector<QString> tracks = SubtitleTracks();
    return choice < int(tracks.size()) ? tracks[size_t(choice)] : QString();
}

// The medium's own record first (what the user chose last time), then the
// preferred languages and the medium's defaults; a caption file beside the
// medium wins over its embedded subtitles.
void Player::ChooseTracksAtOpen()
{
    if (!graph_.audioStreams)
        return;
    const std::optional<ResumeRecord> record = Resume().Load(path_);
    const std::vector<StreamInfo> sounds = graph_.audioStreams->AudioStreams();
    std::optional<int32_t> sound = PreferredStream(sounds, LanguageList(settings_.audioLanguages));
    if (record && record->audioStream >= 0 && record->audioStream < int32_t(sounds.size()))
        sound = record->audioStream;
    if (sound && *sound != graph_.audioStreams->CurrentAudioStream())
        graph_.audioStreams->SetCurrentAudioStream(*sound);
    const int32_t subtitle = SubtitleAtOpen(graph_.audioStreams->TextStreams(), LanguageList(settings_.subtitleLanguages),
                                            !captionFile_.empty(), record ? record->subtitle : std::nullopt);
    graph_.audioStreams->ShowSubtitle(subtitle);
    qCInfo(lcPlayerTracks, "%s opens with sound track %d and subtitles %d", path_.c_str(), sound.value_or(-1), subtitle);
}

} // namespace velmo
