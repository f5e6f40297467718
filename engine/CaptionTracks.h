#pragma once

#include "engine/CaptionTrack.h"
#include "engine/EmbeddedCues.h"
#include "engine/GstHandles.h"
#include "engine/MediaFacets.h"
#include "engine/MediaResult.h"
#include "subtitles/TypesetTrack.h"

#include <memory>
#include <string>
#include <vector>

namespace velmo {

/// The captions of the caption files added to the open medium, one track per
/// file, and those of the embedded text stream shown, all on the medium's
/// clock shifted by the caption offset; either the files or the embedded
/// stream show, or nothing. The captions never pass through the
/// pipeline; an idle file source named after each file stands for it among
/// the filters, so the user sees where they come from. UI thread only.
class CaptionTracks : public CaptionControl {
public:
    explicit CaptionTracks(CaptionTrack::Clock clock);

    /// Reads the caption file at `path` and starts its captions at `nowMs`;
    /// VFW_E_UNSUPPORTED_STREAM when the file is refused.
    HResult Add(const std::string &path, int64_t nowMs);
    /// The position jumped to `ms`: each track delivers its current caption.
    void Seek(int64_t ms);
    /// Playback started, stopped, or its rate changed.
    void Resync();
    /// Every track shows what is current at `ms` of the medium, or nothing
    /// (a frame step reached a picture that starts there).
    void ShowAt(int64_t ms);
    /// Drops every track (before the clock they read goes).
    void Clear()
    {
        tracks_.clear();
        typesetFiles_.clear();
        embedded_.reset();
        typesetEmbedded_.reset();
        fonts_.clear();
    }
    /// Adds a cue of the embedded stream: it shows in its turn, or at once
    /// when it is the one current now.
    void AddCue(const TextCue &cue);
    /// Forgets the embedded stream's cues (another stream is shown now).
    void ForgetCues();
    /// Keeps a font the medium attaches, for its typeset tracks (each font once).
    void AddFont(const AttachedFont &font);
    /// Shows the embedded stream's cues (kSubtitleFiles: the files', kSubtitleNone: nothing).
    void Show(int32_t choice);
    /// What shows: an embedded stream's index, kSubtitleFiles or kSubtitleNone.
    int32_t Shown() const { return shownChoice_; }

    HResult SetCaptionOffset(int64_t offsetMs) override;
    int64_t CaptionOffset() const override { return offsetMs_; }
    HResult SetCaptionLanguage(const QString &choice) override;
    std::vector<SamiLanguage> CaptionLanguages() const override { return languages_; }
    QString CaptionLanguageShown() const override { return shown_; }
    HResult SetCaptionEncoding(CaptionEncoding encoding) override;
    QString CaptionRefusal() const override { return refusal_; }
    TypesetTrack *Typeset() override;
    /// One file source per file, in the order added.
    const std::vector<GstElementPtr> &Sources() const { return sources_; }

private:
    /// Every track shows what is current at the shifted time now, or nothing.
    void ShowCurrent();
    /// Reads every file again with the language and encoding in force.
    void ReadAgain();
    /// The typeset track of the file at `path` when it holds ASS or SSA; null otherwise.
    std::unique_ptr<TypesetTrack> TypesetFile(const std::string &path, CaptionFormat format) const;
    /// Gives `track` the medium's fonts.
    void GiveFonts(TypesetTrack &track) const;

    CaptionTrack::Clock clock_;        ///< the medium's own clock
    CaptionTrack::Clock shiftedClock_; ///< what the files' tracks read: the clock less the offset
    CaptionTrack::Clock embeddedClock_; ///< what the embedded stream's track reads
    int32_t shownChoice_ = kSubtitleFiles;
    EmbeddedCues cues_;
    std::unique_ptr<CaptionTrack> embedded_; ///< the embedded stream's cues; null before the first
    int64_t offsetMs_ = 0;
    QString choice_;
    CaptionEncoding encoding_ = CaptionEncoding::Auto;
    QString refusal_;
    std::vector<SamiLanguage> languages_;
    QString shown_;
    std::vector<std::string> paths_; ///< each track's file, to read again in another language
    std::vector<std::unique_ptr<CaptionTrack>> tracks_;
    std::vector<std::unique_ptr<TypesetTrack>> typesetFiles_; ///< each file's, beside tracks_; null: not ASS
    std::unique_ptr<TypesetTrack> typesetEmbedded_; ///< the embedded ASS stream's; null: none shown
    std::vector<AttachedFont> fonts_; ///< the medium's attached fonts
    std::vector<GstElementPtr> sources_;
};

} // namespace velmo
