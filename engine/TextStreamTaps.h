#pragma once

#include "engine/GstHandles.h"
#include "engine/TextStreamSink.h"

#include <QObject>

#include <deque>
#include <map>
#include <vector>

namespace velmo {

/// Listens to every embedded text stream, shown or not, where playbin takes
/// it in, and keeps each one's latest cues. A stream chosen while one of its
/// cues is under way can then show that cue: the demuxer read it before the
/// choice and sends nothing older again after the seek that follows. UI
/// thread, but for the probes.
class TextStreamTaps : public QObject {
    Q_OBJECT
public:
    /// Cues kept per stream; the oldest go first.
    static constexpr size_t kKeptCues = 256;

    TextStreamTaps() = default;
    ~TextStreamTaps() override;

    /// Taps the text streams of `playbin` not tapped yet.
    void Tap(GstElement *playbin);
    /// The cues heard of text stream `index`, in the order they came.
    std::vector<TextCue> Heard(int index) const;

private:
    struct Probe {
        TextStreamTaps *taps;
        int index;
    };
    static GstPadProbeReturn OnBuffer(GstPad *pad, GstPadProbeInfo *info, gpointer data);
    void Take(int index, TextCue cue);

    std::vector<std::pair<GstPadPtr, gulong>> pads_;
    std::map<int, std::deque<TextCue>> heard_;
};

} // namespace velmo
