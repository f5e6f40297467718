#pragma once

#include "engine/GstHandles.h"

#include <cstdint>
#include <optional>

namespace velmo {

/// The flushing, accurate seeks of one pipeline, one at a time. Seeks sent one
/// after another each start the decoders over and none of them shows a
/// picture, so while one is in flight only the newest target is kept, and it
/// goes when the one in flight completes. UI thread only.
class SeekQueue {
public:
    explicit SeekQueue(GstElement *pipeline) : pipeline_(pipeline) {}

    /// Seeks to `ns` at `rate`, now or once the seek in flight completes;
    /// false when the pipeline refused it.
    bool Request(int64_t ns, double rate);
    /// The seek in flight completed (ASYNC_DONE): sends the target that
    /// waited, if any. True when the seeks have settled.
    bool Completed();
    /// The newest target while seeks are under way.
    std::optional<int64_t> Target() const { return target_; }
    /// Whether the pipeline can be repositioned.
    bool Seekable() const;
    /// Forgets every seek (the pipeline was stopped).
    void Clear();

private:
    struct Pending {
        int64_t ns;
        double rate;
    };
    bool Send(const Pending &seek);

    GstElement *const pipeline_;
    std::optional<int64_t> target_;  ///< newest target while a seek is in flight
    std::optional<Pending> waiting_; ///< the target that waits for the seek in flight
};

} // namespace velmo
