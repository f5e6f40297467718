#pragma once

#include "subtitles/SamiReader.h"

#include <QByteArray>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace velmo {

/// The caption formats a subtitle file may hold, told by its content.
enum class CaptionFormat { Unknown, Sami, SubRip, WebVtt };

/// What `bytes` hold: SAMI when a SYNC element shows, WebVTT when the text
/// starts with "WEBVTT", SubRip when a cue timing line ("a --> b") shows;
/// SAMI wins over the others, so a SAMI file quoting a timing stays SAMI.
CaptionFormat DetectCaptionFormat(const QByteArray &bytes);

/// One "hh:mm:ss,mmm" timestamp in milliseconds ("," or "." before the
/// milliseconds; hours optional; more than two hour digits allowed); empty
/// when it is not one.
std::optional<int64_t> ParseCueTime(QStringView text);

/// Reads SubRip or WebVTT cues into the same caption events as a SAMI file:
/// one event per change of what shows, its text a "<P>" element whose lines
/// are joined by "<br>" (cues shown together are one line each, in start
/// order), and an "&nbsp;" event where nothing shows. A cue whose timing
/// line is broken is skipped, never the rest. The text's encoding is found
/// as for SAMI. Refused when no cue can be read.
SamiResult ParseTimedText(const QByteArray &bytes);

/// Reads any caption file, telling its format by content; refuses
/// unreadable, empty, oversized and unrecognised files. `choice` picks the
/// language of a SAMI file as ParseSami does.
SamiResult ReadCaptionFile(const std::string &path, const QString &choice = {});

} // namespace velmo
