#pragma once

#include <functional>
#include <string>
#include <vector>

namespace velmo {

/// Whether the GStreamer registry holds an element factory of this name.
using ElementLookup = std::function<bool(const std::string &factory)>;

/// The MIME types the desktop entry announces: each type whose demuxer,
/// parser and decoder are all installed (any one of a set of alternative
/// decoders will do), in the table's order, then SAMI, which the player
/// reads itself.
std::vector<std::string> PlayableMimeTypes(const ElementLookup &hasElement);

} // namespace velmo
