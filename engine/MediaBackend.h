#pragma once

#include "engine/MediaFacets.h"

#include <memory>

namespace velmo {

/// Makes the objects MediaGraph builds a graph from. The GStreamer backend is
/// the default; tests pass a fake of their own.
class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    /// A new, empty graph; null with *result set on failure.
    virtual std::shared_ptr<GraphBuilder> CreateFilterGraph(HResult *result) = 0;
    /// A new video output ("Overlay Mixer") with its input pin "Input0".
    virtual std::shared_ptr<BaseFilter> CreateOverlayMixer(HResult *result) = 0;
    /// The watch of the system's sound outputs (asks nothing of the system
    /// until used); null where the backend knows none.
    virtual std::unique_ptr<SoundDeviceWatch> CreateSoundDeviceWatch() { return nullptr; }
    /// The finder of media's durations; null where the backend knows none.
    virtual std::unique_ptr<DurationProbe> CreateDurationProbe() { return nullptr; }
};

/// How long a GStreamer graph waits for a medium to become ready by default.
inline constexpr int kDefaultOpenTimeoutMs = 12000;

/// The GStreamer backend (GStreamer must have been initialised before the
/// first graph); a render gives up after `openTimeoutMs`.
std::shared_ptr<MediaBackend> CreateGstMediaBackend(int openTimeoutMs = kDefaultOpenTimeoutMs);

} // namespace velmo
