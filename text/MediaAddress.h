#pragma once

#include <string_view>

namespace velmo {

/// Whether `text` is an address with a scheme ("http://", "rtsp://", ...)
/// rather than a local path: a scheme of a letter then letters, digits, '+',
/// '-' or '.', followed by "://". A bare "name:rest" stays a file name.
bool IsAddress(std::string_view text);

} // namespace velmo
