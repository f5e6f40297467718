#pragma once

#include "subtitles/CaptionFormat.h"
#include "subtitles/SamiReader.h"

#include <QByteArray>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace velmo {

/// What `bytes` hold: ASS or SSA when the text starts with "[Script Info]"
/// (SSA when its styles are "[V4 Styles]"), SAMI when a SYNC element shows, WebVTT when the text
/// starts with "WEBVTT", SubRip when a line looks like a cue timing
/// ("a --> b", a and b numbers with ":"); SAMI wins over the others, so a
/// SAMI file quoting a timing stays SAMI.
CaptionFormat DetectCaptionFormat(const QByteArray &bytes);

/// One "hh:mm:ss,mmm" timestamp in milliseconds ("," or "." before the
/// milliseconds, one to three of their digits; hours optional; more than two
/// hour digits allowed); empty when it is not one.
std::optional<int64_t> ParseCueTime(QStringView text);

/// Reads SubRip, WebVTT or ASS/SSA cues (WebVTT when the text starts with
/// "WEBVTT", ASS when it starts with "[Script Info]", read plainly)
/// into caption events: one event per change of what shows, its text the
/// format's CaptionHead followed by its lines joined by "<br>" (cues shown
/// together are one line each, in start order), and the head and a blank
/// where nothing shows. The text is read in `encoding` (DecodeCaptionBytes, with
/// Windows-1252 where CP949 does not read cleanly). Refused, with a message
/// naming the format, when no cue can be read.
SamiResult ParseTimedText(const QByteArray &bytes, CaptionEncoding encoding = CaptionEncoding::Auto);

/// Reads any caption file, telling its format by content, in `encoding`;
/// refuses unreadable, empty, oversized and unrecognised files. `choice`
/// picks the language of a SAMI file as ParseSami does.
SamiResult ReadCaptionFile(const std::string &path, const QString &choice = {},
                           CaptionEncoding encoding = CaptionEncoding::Auto);

} // namespace velmo
