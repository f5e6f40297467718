#pragma once

// Where a medium was left: the record kept for it, its text form, and the
// rules that decide whether leaving a medium writes, drops or keeps it.

#include "subtitles/CaptionFormat.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmo {

/// What is remembered of one medium.
struct ResumeRecord {
    int64_t positionMs = 0;        ///< where playback was left
    int64_t durationMs = 0;        ///< the medium's length then
    int64_t captionOffsetMs = 0;   ///< the caption sync keys' offset
    QString captionLanguage;       ///< the caption class chosen; empty: the file's own
    int32_t audioStream = -1;      ///< the sound stream playing; -1: the medium's default
    CaptionEncoding captionEncoding = CaptionEncoding::Auto; ///< the caption files' encoding chosen
    /// The subtitles chosen: an embedded text stream from 0, -1 none, -2 the
    /// caption files; unset in records written before there was a choice.
    std::optional<int32_t> subtitle = std::nullopt;
    int64_t soundDelayMs = 0;      ///< the sound sync keys' delay (positive: later)

    bool operator==(const ResumeRecord &) const = default;
};

/// The record's text: a first line naming the format, then key=value lines.
std::string SerialiseResumeRecord(const ResumeRecord &record);
/// The record `text` holds; none when it is not one (damaged, foreign,
/// another version, a value out of range). Unknown keys are skipped.
std::optional<ResumeRecord> ParseResumeRecord(std::string_view text);

/// The longest record text read; a longer file is not a record.
inline constexpr size_t kMaxResumeRecordBytes = 4096;

/// When leaving a medium remembers it.
struct ResumeRules {
    double minDurationS = 300.0; ///< shorter media are not remembered
    double finishedShare = 0.05; ///< left within this last share: finished
};

/// What leaving a medium does to its record.
enum class ResumeAction {
    Keep,     ///< too short, or its length unknown: nothing is written
    Remember, ///< write the position
    Forget,   ///< finished: the record goes
};

/// The action for leaving a medium of `durationS` at `positionS`.
ResumeAction ActionOnLeave(double positionS, double durationS, const ResumeRules &rules);

/// "hh:mm:ss부터 이어보기 (Enter)" for `positionMs`.
QString ResumeOfferText(int64_t positionMs);

} // namespace velmo
