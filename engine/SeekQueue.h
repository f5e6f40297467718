#pragma once

#include "engine/GstHandles.h"

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <optional>

namespace velmo {

/// How exactly a seek lands.
enum class SeekLanding {
    Exact,         ///< on the asked position: the decoders start at the keyframe before it and decode up to it
    KeyframeFirst, ///< on the keyframe before it at once, then, once the asks stop, on the asked position
};

/// The flushing seeks of one pipeline, one at a time. Seeks sent one after
/// another each start the decoders over and none of them shows a picture, so
/// while one is in flight only the newest target is kept, and it goes when the
/// one in flight completes.
///
/// A keyframe seek shows a picture as soon as one picture is decoded, where an
/// exact one decodes every picture from the keyframe to the target first (up
/// to a whole group of pictures: hundreds of milliseconds at 1080p). Keys and
/// the timeline therefore seek to the keyframe before the target while the
/// asks come, and to the exact target once they have stopped for `kSettleMs`
/// (unless playback has reached the target from the keyframe by then).
/// (The nearest keyframe is no faster when it lies after the target: the
/// sound, whose frames are all keyframes, then starts at the target and the
/// picture must be decoded from the keyframe before it anyway.) UI thread only.
class SeekQueue {
public:
    /// Quiet time after the last ask before a keyframe landing is made exact.
    static constexpr int kSettleMs = 250;

    /// `settled` is called when the seeks settle without an ASYNC_DONE (a
    /// keyframe landing that turned out exact).
    SeekQueue(GstElement *pipeline, std::function<void()> settled);

    /// Seeks to `ns` at `rate`, now or once the seek in flight completes;
    /// false when the pipeline refused it.
    bool Request(int64_t ns, double rate, SeekLanding landing = SeekLanding::Exact);
    /// The seek in flight completed (ASYNC_DONE): sends the target that
    /// waited, or the exact landing that follows a keyframe one. True when
    /// the seeks have settled.
    bool Completed();
    /// The newest target while seeks are under way (the exact landing of a
    /// keyframe seek included).
    std::optional<int64_t> Target() const { return target_; }
    /// Whether the pipeline can be repositioned.
    bool Seekable() const;
    /// Forgets every seek (the pipeline was stopped).
    void Clear();
    /// Keeps the keyframe landing that waits to be made exact: what is shown
    /// is where the user goes on from (a frame step). True when seeks settled.
    bool KeepKeyframeLanding();

private:
    struct Pending {
        int64_t ns;
        double rate;
        SeekLanding landing;
    };
    bool Send(const Pending &seek);
    /// The keyframe landing is done and the asks have stopped: lands exactly,
    /// unless the keyframe was the target. True when that was sent.
    bool SendExactLanding();

    GstElement *const pipeline_;
    const std::function<void()> settled_;
    std::optional<int64_t> target_;  ///< newest target while seeks are under way
    std::optional<Pending> waiting_; ///< the target that waits for the seek in flight
    std::optional<Pending> inFlight_;
    std::optional<Pending> exactLanding_; ///< the exact seek owed to a keyframe landing
    QElapsedTimer sinceAsk_;
    QTimer settle_;
};

} // namespace velmo
