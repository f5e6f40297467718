#pragma once

// The two cue formats' readers, and what they share: they turn text into
// cues; TimedTextReader turns cues into caption events.

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace velmo {

/// One cue: its time and its lines, markup and all.
struct Cue {
    int64_t startMs = 0;
    int64_t endMs = 0;
    std::vector<QStringView> lines;
};

/// The text's lines, split at "\r\n", "\r" and "\n".
std::vector<QStringView> SplitLines(QStringView text);

/// A timestamp read from `pos` of `text`: "[h…:]mm:ss" then "," or "." and
/// one to three digits. On success `pos` is past it; on failure it is left
/// anywhere.
std::optional<int64_t> ReadCueTimeAt(QStringView text, qsizetype &pos);

/// SubRip cues as common players read them: a cue is a timing line
/// ("start --> end", coordinates after it ignored), maybe after its number,
/// and every line up to the next timing line or number-and-timing pair,
/// blank lines included. A timing line that cannot be read drops its cue.
/// Lines holding only "{\…}" override blocks are left out.
std::vector<Cue> ReadSubRipCues(QStringView text);

/// WebVTT cues by the W3C file-parsing rules: the "WEBVTT" signature, a
/// header up to a blank line or a timing line, then blocks; a block whose
/// first or (after an identifier) second line is a valid timing is a cue,
/// whose text runs to a blank line or a line holding "-->". Blocks without
/// a valid timing (NOTE, STYLE, REGION, mistyped cues) are dropped. A ","
/// before the milliseconds and fewer than three of their digits are taken.
/// None when the signature is missing.
std::optional<std::vector<Cue>> ReadWebVttCues(QStringView text);

/// ASS and SSA events as plain cues: the "Dialogue:" lines of the [Events]
/// section, by the columns its Format line names, their text plain
/// (AssPlainText); events with nothing left to read are dropped. The lines
/// point into texts appended to `storage`.
std::vector<Cue> ReadAssCues(QStringView text, std::vector<QString> &storage);

/// An ASS event's text without its typesetting: override blocks removed,
/// drawings ("\p1" up to "\p0") left out, "\N" and "\n" line breaks,
/// "\h" a blank.
QString AssPlainText(QStringView text);

/// The text field of an ASS event as Matroska carries it ("ReadOrder,
/// Layer, Style, Name, MarginL, MarginR, MarginV, Effect, Text"); empty
/// when the chunk has fewer fields.
QStringView AssChunkText(QStringView chunk);

/// The text starts as an ASS or SSA script does ("[Script Info]").
bool LooksLikeAss(QStringView text);
/// An SSA script (its styles are "[V4 Styles]"), not ASS.
bool IsSsa(QStringView text);

} // namespace velmo
