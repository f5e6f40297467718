#pragma once

#include <string>

namespace velmo {

/// The caption file that goes with a media file: the media's name with its
/// extension replaced by ".smi", else ".sami", else ".srt", ".vtt", ".ass",
/// ".ssa", else the last four with a Korean language part (".ko.srt",
/// ".kor.srt", ".kr.srt", then the same for ".vtt", ".ass" and ".ssa"); a
/// name without extension gets them
/// appended; the extension is matched without regard to letter case. Never
/// a longer name. Returns the path of the file found, or "" when there is none.
std::string FindCompanionSubtitle(const std::string &mediaPath);

} // namespace velmo
