#pragma once

#include <string>

namespace velmo {

/// The SAMI file that goes with a media file: the media's name with its
/// extension replaced by ".smi", else by ".sami" (a name without extension
/// gets them appended); the extension is matched without regard to letter
/// case. Returns the path of the file found, or "" when there is none.
std::string FindCompanionSubtitle(const std::string &mediaPath);

} // namespace velmo
