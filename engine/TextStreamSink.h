#pragma once

#include "engine/GstHandles.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace velmo {

/// One cue of an embedded text stream, its times in the medium's own time.
struct TextCue {
    int64_t startMs = 0;
    int64_t endMs = -1; ///< -1: until the next cue
    QString text;       ///< as the stream has it: plain text, or Pango markup
    bool markup = false; ///< `text` is Pango markup (its "&amp;" and tags)
};

/// The cue a text buffer holds, its times by `segment`; none for a buffer
/// with no time, or one that is not text (a picture subtitle). GStreamer
/// threads may call it.
std::optional<TextCue> CueOfBuffer(GstBuffer *buffer, const GstSegment *segment, const GstCaps *caps);

/// playbin's text sink: an appsink that takes the text of the chosen text
/// stream (plain UTF-8 or Pango markup: SubRip, WebVTT, SSA/ASS, MP4 timed
/// text, SAMI, each as its parser hands it on; picture subtitles are taken
/// and dropped), never waits for it to
/// preroll nor holds the stream back, and hands each cue to the UI thread.
class TextStreamSink : public QObject {
    Q_OBJECT
public:
    /// `deliver` hears each cue on the UI thread.
    explicit TextStreamSink(std::function<void(const TextCue &)> deliver);
    ~TextStreamSink() override;

    /// The appsink, for playbin's "text-sink".
    GstElement *Sink() const { return sink_.get(); }
    /// Cues on their way from before this call are dropped (the stream was switched).
    void Forget() { generation_.fetch_add(1, std::memory_order_relaxed); }

private:
    static GstFlowReturn OnSample(GstElement *sink, gpointer self);
    void Take(TextCue cue, uint64_t generation);

    std::function<void(const TextCue &)> deliver_;
    GstElementPtr sink_;
    std::atomic<uint64_t> generation_{0};
};

} // namespace velmo
