#pragma once

#include "subtitles/SamiReader.h"

#include <QObject>
#include <QTimer>

#include <functional>
#include <vector>

namespace velmo {

/// Hands the captions of one caption file to the event queue as playback reaches
/// each caption's start. Driven from the UI thread by the graph's position: a
/// single-shot timer is armed for the next start from the position and the
/// rate, and re-armed whenever they change. UI thread only.
class CaptionTrack : public QObject {
    Q_OBJECT
public:
    /// What the track needs from its graph.
    struct Clock {
        std::function<bool(int64_t *ms)> position; ///< the stream position now; false when unknown
        std::function<double()> rate;              ///< the playback rate
        std::function<bool()> running;             ///< whether the stream is moving
        std::function<void(const QString &)> deliver; ///< queues one caption
    };

    CaptionTrack(std::vector<SamiCaption> captions, Clock clock);

    /// Whether a seek to before the first caption clears what shows.
    enum SeekMode { KeepWhenNone, ClearWhenNone };
    /// The position jumped to `ms` (a seek, or the track was just added): the
    /// caption current there is delivered at once, then the flow goes on.
    /// Before the first caption nothing is delivered, or with ClearWhenNone
    /// an empty caption.
    void Seek(int64_t ms, SeekMode mode = KeepWhenNone);
    /// Playback started, stopped, or its rate changed: re-arms or disarms.
    void Resync();

private:
    void OnTimer();

    std::vector<SamiCaption> captions_;
    Clock clock_;
    QTimer timer_;
    size_t next_ = 0;
};

} // namespace velmo
