#pragma once

#include "engine/GstHandles.h"

#include <vector>

namespace velmo {

/// The filters of `pipeline` as a user of the player thinks of them: sources,
/// demuxers, decoders, effects and outputs, in the order the stream flows
/// through them (each source, then depth-first downstream along its pads,
/// pads in the order the elements made them). Containers (playbin, decodebin,
/// playsink and their inner bins), queues, type finders, selectors,
/// synchronizers and the converters that only join pads are left out; so are
/// parsers behind a demuxer, which only frame what the demuxer split. A bin in
/// `units`, or one whose factory names a role of its own (an automatic sink, a
/// network source bin), counts as one filter and is not looked into.
std::vector<GstElementPtr> FlowFilters(GstElement *pipeline, const std::vector<GstElement *> &units);

} // namespace velmo
