// The player's habits of watching: the folder as a playlist, continuous
// play, the A-B loop, where media were left and the recent list, and the
// screenshot.

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/FolderPlaylist.h"
#include "player/PlaybackRules.h"
#include "player/PlayerSettings.h"
#include "player/RecentFiles.h"
#include "player/ResumeStore.h"
#include "player/Screenshot.h"
#include "subtitles/SubtitleOverlay.h"
#include "subtitles/TypesetTrack.h"
#include "text/MediaAddress.h"

#include <QBuffer>
#include <QLoggingCategory>
#include <QPainter>

#include <cmath>
#include <cstring>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlayerWatching, "velmo.player.watching")

// ---- The folder as a playlist

void Player::StepFolder(int direction)
{
    // While an open waits nothing plays yet: the keys find no file to step from.
    if (opening_ || path_.empty() || IsAddress(path_))
        return; // an address has no folder
    const FolderStep step = NeighbourInFolder(path_, direction);
    if (!step.readable)
        emit message(QStringLiteral("폴더를 읽을 수 없습니다"), 0);
    else if (step.atEnd)
        emit message(direction > 0 ? QStringLiteral("다음 파일이 없습니다") : QStringLiteral("이전 파일이 없습니다"), 0);
    else
        Open(step.path);
}

bool Player::PlayNextInFolder()
{
    if (!settings_.continuousPlay || IsAddress(path_))
        return false;
    const FolderStep step = NeighbourInFolder(path_, +1);
    if (step.path.empty())
        return false;
    Open(step.path);
    return true;
}

// ---- A-B repeat

void Player::PressAbRepeat()
{
    double seconds = 0.0;
    if (!graph_.graph || !graph_.position || Failed(graph_.position->get_CurrentPosition(&seconds)))
        return;
    abLastTickMs_ = std::llround(seconds * 1000.0);
    emit message(abRepeat_.Press(abLastTickMs_), 0);
    emit abRangeChanged();
    // Playback stands at B now: the loop begins at once.
    if (abRepeat_.state() == AbRepeat::State::Looping && abLastTickMs_ >= abRepeat_.b())
        ReturnToA();
}

std::pair<double, double> Player::AbRange() const
{
    const double duration = Duration();
    if (abRepeat_.state() != AbRepeat::State::Looping || !(duration > 0))
        return {0.0, 0.0};
    return {abRepeat_.a() / 1000.0 / duration, abRepeat_.b() / 1000.0 / duration};
}

// Back to A, exactly at once: a loop that starts a few seconds early is no loop.
void Player::ReturnToA()
{
    constexpr int64_t kUnitsPerMs = 10'000; // the seeking facet counts 100 ns units
    int64_t target = abRepeat_.a() * kUnitsPerMs;
    if (graph_.seeking)
        graph_.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    abLastTickMs_ = abRepeat_.a();
    atEnd_ = false;
    // The ticks only move the timelines forward: the way back is shown here.
    emit timelineSet(TimelinePercent(abRepeat_.a() / 1000.0, Duration()));
    emit positionJumped();
}

void Player::ClearAbRepeat()
{
    if (abRepeat_.state() == AbRepeat::State::Off)
        return;
    abRepeat_.Clear();
    emit abRangeChanged();
}

void Player::CheckAbRepeat()
{
    double seconds = 0.0;
    if (abRepeat_.state() != AbRepeat::State::Looping || !graph_.position ||
        Failed(graph_.position->get_CurrentPosition(&seconds)))
        return;
    const int64_t now = std::llround(seconds * 1000.0);
    if (abRepeat_.Passed(abLastTickMs_, now)) {
        ReturnToA();
        return;
    }
    abLastTickMs_ = now;
}

// ---- Where media were left

ResumeStore Player::Resume() const
{
    return ResumeStore(ResumeStore::FolderBeside(settings_.FileName()));
}

void Player::RememberPosition()
{
    if (!graph_.graph || !graph_.position)
        return;
    double position = 0.0;
    double duration = 0.0;
    if (Failed(graph_.position->get_Duration(&duration)) || Failed(graph_.position->get_CurrentPosition(&position)))
        return;
    switch (ActionOnLeave(position, duration, resumeRules_)) {
    case ResumeAction::Keep:
        return;
    case ResumeAction::Forget:
        Resume().Forget(path_);
        return;
    case ResumeAction::Remember:
        break;
    }
    ResumeRecord record;
    record.positionMs = std::llround(position * 1000.0);
    record.durationMs = std::llround(duration * 1000.0);
    record.captionOffsetMs = captionOffsetMs_;
    record.captionLanguage = captionLanguage_;
    record.captionEncoding = captionEncoding_;
    record.soundDelayMs = soundDelayMs_;
    record.audioStream = graph_.audioStreams ? graph_.audioStreams->CurrentAudioStream() : -1;
    if (graph_.audioStreams)
        record.subtitle = graph_.audioStreams->SubtitleShown();
    Resume().Save(path_, record);
    resumeSaveClock_.start();
}

void Player::RememberWhilePlaying()
{
    if (State() != PlayState::Running)
        return;
    if (!resumeSaveClock_.isValid()) {
        resumeSaveClock_.start(); // the first period starts with playback
        return;
    }
    if (resumeSaveClock_.elapsed() >= kResumeSaveMs)
        RememberPosition();
}

// Lists the medium first among the recent ones, gives it its remembered
// captions, and offers its position (its tracks are chosen apart).
void Player::OfferResume()
{
    TakeResumeOffer(false);
    resumeSaveClock_.start();
    ResumeStore store = Resume();
    RecentFiles recent = store.LoadRecent();
    recent.Add(ResumeStore::MediumName(path_));
    store.SaveRecent(recent);

    const std::optional<ResumeRecord> record = store.Load(path_);
    if (!record)
        return;
    captionOffsetMs_ = record->captionOffsetMs;
    captionLanguage_ = record->captionLanguage;
    captionEncoding_ = record->captionEncoding;
    PushCaptionState();
    soundDelayMs_ = record->soundDelayMs;
    PushSoundDelay();
    if (record->positionMs <= 0)
        return; // nothing to go back to
    resumeOfferMs_ = record->positionMs;
    resumeOfferClock_.start();
    emit message(ResumeOfferText(record->positionMs), kResumeOfferMs);
}

bool Player::ResumeOffered() const
{
    return resumeOfferMs_ && resumeOfferClock_.elapsed() < kResumeOfferMs;
}

bool Player::TakeResumeOffer(bool accept)
{
    if (!resumeOfferMs_)
        return false;
    const int64_t offered = *resumeOfferMs_;
    const bool standing = ResumeOffered();
    // Whatever happens, the offer is over: it is taken now or never.
    resumeOfferMs_.reset();
    if (!standing)
        return false;
    emit message(QString(), 0);
    if (!accept || !graph_.position)
        return false;
    SeekTo(double(offered) / 1000.0);
    return true;
}

std::vector<std::pair<std::string, std::optional<ResumeRecord>>> Player::RecentMedia() const
{
    const ResumeStore store = Resume();
    std::vector<std::pair<std::string, std::optional<ResumeRecord>>> media;
    const RecentFiles recent = store.LoadRecent();
    for (const std::string &medium : recent.Entries())
        media.emplace_back(medium, store.Load(medium));
    return media;
}

void Player::ForgetRecent()
{
    TakeResumeOffer(false);
    Resume().Clear();
}

// ---- Screenshot

void Player::SaveScreenshot()
{
    if (!graph_.graph)
        return;
    QImage picture;
    int64_t positionMs = 0;
    if (!graph_.frames || Failed(graph_.frames->GrabPicture(&picture, &positionMs))) {
        emit message(QStringLiteral("화면 저장 실패: 그림이 없습니다"), 0);
        return;
    }
    // The caption as it would be drawn over a screen of the picture's size.
    if (look_.subtitleVisible && CaptionsTypeset()) {
        TypesetTrack *track = graph_.captions->Typeset();
        track->Invalidate();
        TypesetLayer layer;
        track->Render(positionMs - captionOffsetMs_, picture.size(), &layer);
        track->Invalidate(); // the screen's own size next
        if (!layer.image.isNull())
            QPainter(&picture).drawImage(layer.at, layer.image);
    } else if (look_.subtitleVisible && !caption_.text.isEmpty()) {
        const QImage caption = DrawSubtitleLayer(picture.size(), Caption(), look_);
        if (!caption.isNull()) {
            QPainter painter(&picture);
            painter.drawImage(0, 0, caption);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const std::string target = PicturesFolder() + "/Velmo/" + ScreenshotName(path_, positionMs);
    int error = 0;
    if (!WritePictureFile(target, png, &error)) {
        qCWarning(lcPlayerWatching, "the screenshot %s could not be written: %s", target.c_str(), std::strerror(error));
        emit message(ScreenshotFailure(error), 0);
        return;
    }
    emit message(ScreenshotSaved(target), 0);
}

} // namespace velmo
