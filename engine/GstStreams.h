#pragma once

#include "engine/CaptionTracks.h"
#include "engine/MediaFacets.h"
#include "engine/TextStreamSink.h"
#include "engine/TextStreamTaps.h"

namespace velmo {

class PlaybinSession;

/// The choice of sound and text streams over playbin's own (current-audio,
/// current-text): the sound switches in the pipeline; the text stream chosen
/// reaches the text sink, whose cues the caption tracks show. UI thread only.
class GstStreamChoice : public StreamChoice {
public:
    GstStreamChoice(PlaybinSession &session, CaptionTracks &captions);

    /// The sink playbin's text streams go to.
    GstElement *TextSink() const { return sink_.Sink(); }

    int32_t CurrentAudioStream() const override;
    HResult SetCurrentAudioStream(int32_t index) override;
    std::vector<StreamInfo> AudioStreams() const override;
    std::vector<StreamInfo> TextStreams() const override;
    int32_t SubtitleShown() const override { return captions_.Shown(); }
    HResult ShowSubtitle(int32_t choice) override;

private:
    std::vector<StreamInfo> Streams(const char *kind) const;

    PlaybinSession &session_;
    CaptionTracks &captions_;
    TextStreamSink sink_;
    TextStreamTaps taps_;
};

/// The short name of a stream's format from its caps ("AAC", "AC-3",
/// "SubRip", "ASS"), else from its codec tag; empty when neither tells.
std::string StreamFormatName(const GstCaps *caps, const char *codecTag);

} // namespace velmo
