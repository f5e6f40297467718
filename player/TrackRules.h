#pragma once

// The rules of a medium's sound and subtitle tracks: their names in Korean,
// which of them an open chooses by the preferred languages, and the order
// the track keys go round in. Pure functions.

#include "engine/MediaFacets.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmo {

/// The Korean name of a language tag: an ISO 639-1 or 639-2 (B or T) code,
/// maybe with a region ("en-US"); "언어 없음" when empty or undetermined. An
/// unknown code shows as it stands; anything else is made safe and short.
QString LanguageName(std::string_view tag);

/// The menu's and the messages' name of a track: language, title in quotes,
/// then the format with its channels ("한국어 \"해설\" — AC-3 5.1").
QString TrackLabel(const StreamInfo &stream);

/// The ordered list of a language setting ("ko,en"): codes, lower-cased, blanks dropped.
std::vector<std::string> LanguageList(std::string_view setting);

/// The stream an open chooses: the first of the first preferred language
/// (codes of either ISO form match), else the first marked default; none
/// when neither is there.
std::optional<int32_t> PreferredStream(const std::vector<StreamInfo> &streams,
                                       const std::vector<std::string> &preferred);

/// The subtitles an open shows: the choice remembered for the medium when it
/// still stands, else a caption file beside it, else the preferred or default
/// text stream, else none (kSubtitleFiles, kSubtitleNone or a stream's index).
int32_t SubtitleAtOpen(const std::vector<StreamInfo> &texts, const std::vector<std::string> &preferred,
                       bool hasCaptionFile, std::optional<int32_t> remembered);

/// The subtitles after `current` in the key's round: each text stream, the
/// caption files (when there are), nothing, and the first stream again.
int32_t NextSubtitle(int32_t current, int32_t textCount, bool hasCaptionFile);

} // namespace velmo
