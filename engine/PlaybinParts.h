#pragma once

#include "engine/GstHandles.h"

#include <atomic>
#include <cstdint>

namespace velmo {

/// The name of the player's volume element (inside the audio filter).
inline constexpr char kPlayerVolumeName[] = "player volume";

/// A playbin that plays video and audio into its default sinks and text into
/// the text sink its owner gives (no converters or software volume of its own), whose audio filter is the
/// pitch-keeping tempo filter followed by a volume element of ours, handed
/// out in *volume (null when missing). Null when playbin is missing.
GstElementPtr MakePlaybin(GstElementPtr *volume);

/// Counts in `reads` the buffers each source `playbin` sets up hands on (on
/// GStreamer's threads); `reads` must outlive the playbin's sources.
void CountSourceReads(GstElement *playbin, std::atomic<uint64_t> *reads);

} // namespace velmo
