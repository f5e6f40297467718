// The player's captions: caption files added to the medium, the caption now
// shown, the sync offset and the language of a caption file that holds several.

#include "player/Player.h"

#include "engine/MediaGraph.h"
#include "player/CaptionSync.h"
#include "player/PlayerSettings.h"
#include "subtitles/CaptionText.h"
#include "subtitles/SubtitleStyle.h"
#include "subtitles/TypesetTrack.h"

#include <QLoggingCategory>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlayerCaptions, "velmo.player.captions")

void Player::AddCaptionFile(const std::string &path)
{
    if (!graph_.graph || !graph_.control)
        return;
    // Playback runs afterwards, even when it was paused before; a medium
    // that played to its end stays there.
    graph_.control->Pause();
    if (Succeeded(graph_.AddSubtitleFile(path)))
        captionFile_ = path;
    else if (graph_.captions && !graph_.captions->CaptionRefusal().isEmpty())
        emit message(graph_.captions->CaptionRefusal(), 0);
    if (!atEnd_)
        graph_.control->Run();
    emit stateChanged();
}

bool Player::HasCaptions() const
{
    // An embedded subtitle track shown is a caption as much as a file's.
    return graph_.graph
           && (graph_.subtitleLoaded || (graph_.audioStreams && graph_.audioStreams->SubtitleShown() >= 0));
}

ShownCaption Player::Caption() const
{
    if (CaptionsTypeset())
        return {}; // drawn by the typeset layer instead
    return {caption_.text, settings_.captionMarkup ? caption_.markup : QString()};
}

void Player::OnCaption(const QString &raw)
{
    SetCaption({CleanCaption(raw), raw});
}

void Player::SetCaption(ShownCaption caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    emit captionChanged();
}

void Player::SetCaptionMarkup(bool on)
{
    settings_.captionMarkup = on;
    SaveOptions();
    // The caption now showing changes its look at once, not at the next one.
    emit captionChanged();
}

void Player::SetAssStyled(bool on)
{
    settings_.assStyled = on;
    SaveOptions();
    emit captionChanged();
}

bool Player::CaptionsTypeset() const
{
    return settings_.assStyled && graph_.graph && graph_.captions && graph_.captions->Typeset();
}

bool Player::DrawTypeset(int64_t frameMs, const QSize &size, TypesetLayer *layer)
{
    TypesetTrack *track = look_.subtitleVisible && CaptionsTypeset() ? graph_.captions->Typeset() : nullptr;
    if (track != typesetDrawn_) {
        typesetDrawn_ = track;
        if (!track) {
            *layer = TypesetLayer();
            return true;
        }
        track->Invalidate(); // another layer showed meanwhile
    }
    return track && track->Render(frameMs - captionOffsetMs_, size, layer);
}

void Player::SetContinuousPlay(bool on)
{
    settings_.continuousPlay = on;
    SaveOptions();
}

void Player::SaveOptions()
{
    if (!settings_.SaveOptions())
        qCWarning(lcPlayerCaptions, "the options could not be saved in the settings file");
}

// The offset and the language hold for one medium: another one starts
// without them. The player holds them; the graph is told.
void Player::ApplyCaptionState()
{
    if (captionStatePath_ != path_) {
        captionStatePath_ = path_;
        captionOffsetMs_ = 0;
        captionLanguage_.clear();
        captionEncoding_ = CaptionEncoding::Auto;
    }
    PushCaptionState();
}

// The one place the graph's captions learn the offset and the language.
void Player::PushCaptionState()
{
    if (!graph_.captions)
        return;
    graph_.captions->SetCaptionOffset(captionOffsetMs_);
    graph_.captions->SetCaptionEncoding(captionEncoding_);
    if (!captionLanguage_.isEmpty())
        graph_.captions->SetCaptionLanguage(captionLanguage_);
}

void Player::ShiftCaptions(int id)
{
    if (!graph_.graph)
        return;
    captionOffsetMs_ = CaptionOffsetAfter(id, captionOffsetMs_);
    PushCaptionState();
    emit message(CaptionSyncMessage(captionOffsetMs_), 0);
}

bool Player::CaptionLanguagesKnown() const
{
    return graph_.captions != nullptr;
}

std::vector<SamiLanguage> Player::CaptionLanguages() const
{
    return graph_.captions ? graph_.captions->CaptionLanguages() : std::vector<SamiLanguage>();
}

QString Player::CaptionLanguageShown() const
{
    return graph_.captions ? graph_.captions->CaptionLanguageShown() : QString();
}

void Player::ChooseCaptionLanguage(size_t index)
{
    const std::vector<SamiLanguage> languages = CaptionLanguages();
    if (languages.size() < 2 || index > languages.size())
        return;
    captionLanguage_ = index < languages.size() ? languages[index].className : QString(kEverySamiLanguage);
    PushCaptionState();
}

void Player::ChooseCaptionEncoding(CaptionEncoding encoding)
{
    if (!graph_.graph)
        return;
    captionEncoding_ = encoding;
    PushCaptionState();
}

} // namespace velmo
