#pragma once

#include <string_view>

namespace velmo {

/// True when `text` is an address with a scheme ("http://...", "rtsp://...",
/// "file:///..."), which is passed on as it stands; anything else is a path
/// of the file system. A scheme is a letter, then letters, digits, "+", "-"
/// or ".", and "://" follows it: "clip:1.avi" and "/a/b://c" are paths.
bool IsAddress(std::string_view text);

} // namespace velmo
