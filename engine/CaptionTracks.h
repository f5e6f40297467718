#pragma once

#include "engine/CaptionTrack.h"
#include "engine/GstHandles.h"
#include "engine/MediaResult.h"

#include <memory>
#include <string>
#include <vector>

namespace velmo {

/// The captions of the SAMI files added to the open medium: one track per
/// file, all on the medium's clock. The captions never pass through the
/// pipeline; an idle file source named after each file stands for it among
/// the filters, so the user sees where they come from. UI thread only.
class CaptionTracks {
public:
    explicit CaptionTracks(CaptionTrack::Clock clock) : clock_(std::move(clock)) {}

    /// Reads the SAMI file at `path` and starts its captions at `nowMs`;
    /// VFW_E_UNSUPPORTED_STREAM when the file is refused.
    HResult Add(const std::string &path, int64_t nowMs);
    /// The position jumped to `ms`: each track delivers its current caption.
    void Seek(int64_t ms);
    /// Playback started, stopped, or its rate changed.
    void Resync();
    /// Drops every track (before the clock they read goes).
    void Clear() { tracks_.clear(); }
    /// One file source per file, in the order added.
    const std::vector<GstElementPtr> &Sources() const { return sources_; }

private:
    CaptionTrack::Clock clock_;
    std::vector<std::unique_ptr<CaptionTrack>> tracks_;
    std::vector<GstElementPtr> sources_;
};

} // namespace velmo
