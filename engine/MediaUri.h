#pragma once

#include <string>

namespace velmo {

/// The URI GStreamer opens for a local path (made absolute against the working
/// directory, bytes escaped, any length) or an address (unchanged). Empty when
/// the path cannot be made a URI.
std::string MediaUri(const std::string &pathOrAddress);

} // namespace velmo
