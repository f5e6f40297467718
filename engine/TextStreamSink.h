#pragma once

#include "engine/GstHandles.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>

namespace velmo {

/// One cue of an embedded text stream, its times in the medium's own time.
struct TextCue {
    int64_t startMs = 0;
    int64_t endMs = -1; ///< -1: until the next cue
    QString text;       ///< as the stream has it: plain text, or Pango markup
    bool markup = false; ///< `text` is Pango markup (its "&amp;" and tags)
    /// An ASS or SSA event as the container carries it: `chunk` holds it
    /// ("ReadOrder, Layer, Style, …, Text"), `header` the stream's styles,
    /// and `text` is empty.
    bool typeset = false;
    QByteArray chunk{};
    QByteArray header{};
};

/// A font the medium carries for its typeset subtitles (a Matroska attachment).
struct AttachedFont {
    QByteArray name;
    QByteArray data;
};

/// The cue a text buffer holds, its times by `segment`; none for a buffer
/// with no time, or one that is not text (a picture subtitle). GStreamer
/// threads may call it.
std::optional<TextCue> CueOfBuffer(GstBuffer *buffer, const GstSegment *segment, const GstCaps *caps);

/// playbin's text sink: an appsink that takes the text of the chosen text
/// stream (plain UTF-8 or Pango markup: SubRip, WebVTT, MP4 timed text,
/// SAMI, each as its parser hands it on; ASS and SSA as the container
/// carries them; picture subtitles are taken and dropped), never waits for
/// it to preroll nor holds the stream back, and hands each cue, and each
/// font the medium attaches, to the UI thread.
class TextStreamSink : public QObject {
    Q_OBJECT
public:
    /// `deliver` hears each cue and `font` each attached font on the UI thread.
    explicit TextStreamSink(std::function<void(const TextCue &)> deliver,
                            std::function<void(const AttachedFont &)> font = {});
    ~TextStreamSink() override;

    /// The appsink, for playbin's "text-sink".
    GstElement *Sink() const { return sink_.get(); }
    /// Cues on their way from before this call are dropped (the stream was switched).
    void Forget() { generation_.fetch_add(1, std::memory_order_relaxed); }
    /// The format of the stream now chosen (null: as each cue says). A
    /// switch of playbin's text stream hands on the new stream's cues but
    /// not always its caps: the chosen stream's own caps tell what they are.
    void SetStreamCaps(GstCapsPtr caps);

private:
    static GstFlowReturn OnSample(GstElement *sink, gpointer self);
    static GstPadProbeReturn OnEvent(GstPad *pad, GstPadProbeInfo *info, gpointer self);
    void Take(TextCue cue, uint64_t generation);

    std::function<void(const TextCue &)> deliver_;
    std::function<void(const AttachedFont &)> font_;
    GstElementPtr sink_;
    std::atomic<uint64_t> generation_{0};
    std::set<std::string> fontsSent_; ///< the attachments handed on (the streaming thread's own)
    std::mutex capsMutex_;
    GstCapsPtr streamCaps_; ///< under capsMutex_
};

} // namespace velmo
