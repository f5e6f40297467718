#pragma once

#include <cstdint>

namespace velmo {

/// Tells when a stream from an address has stopped coming: its source has
/// handed on nothing for the stall time while playback was asked for, and the
/// stream does not move (it refills, or its position stands). While what was
/// read before still plays, no stall is told. Looked at a few times a second;
/// no clock of its own.
class StallWatch {
public:
    explicit StallWatch(int stallMs) : stallMs_(stallMs) {}

    /// One look at `nowMs`: `reads` is the source's count of what it handed
    /// on, `watched` whether playback is asked for (an open address, running,
    /// not ended), `moving` whether the stream moved since the last look.
    /// True when the stream has stalled.
    bool Look(int64_t nowMs, uint64_t reads, bool watched, bool moving);

private:
    const int stallMs_;
    bool watching_ = false;
    uint64_t reads_ = 0;
    int64_t sinceMs_ = 0; ///< when the count last moved, or the watch began
};

} // namespace velmo
