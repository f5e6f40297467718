#pragma once

// What the caption's text and its styled runs both read a caption by, so that
// the runs put together are always the text.

#include "subtitles/CaptionFormat.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace velmo {

/// How one format's caption text is cleaned, the one place each format's
/// rules stand.
struct CaptionRules {
    bool slashIsBlank = false;   ///< "/" shows as a blank
    bool nbspIsBlank = false;    ///< "&nbsp;" and "&NBSP;" show as a blank
    bool knownTagsOnly = false;  ///< a "<" opens a tag only before a tag the format knows; else it is text
    bool references = false;     ///< "&amp;", "&lt;", "&#233;" and the like are decoded
    bool overrides = false;      ///< "{\an8}"-style override blocks are removed
};

/// The rules of `format`; Unknown reads as SAMI.
const CaptionRules &RulesOf(CaptionFormat format);

/// The start tag a SubRip or WebVTT reader puts before a caption's text, in
/// place of SAMI's "<P>", so that the caption is cleaned by its own format's
/// rules: a SAMI caption always begins with its P element.
QString CaptionHead(CaptionFormat format);

/// A caption's text made ready for its tags, and the rules it is read by.
struct CaptionBody {
    QString text;
    CaptionRules rules;
};

/// A caption as the readers hand it on (the P element, or a CaptionHead, with
/// its markup), made ready for its tags: everything up to the first ">"
/// dropped, "<br>" and "<BR>" made "\r\n" and, for SAMI, "&NBSP;" and
/// "&nbsp;" made spaces. None when the caption has no ">": then nothing is
/// replaced and no tag can close.
std::optional<CaptionBody> ReadCaptionBody(const QString &raw);

/// A piece of text between tags as it shows by `rules`: "/" made a blank,
/// references decoded, override blocks removed, as the rules say.
QString CleanTextPiece(QStringView piece, const CaptionRules &rules);

/// Removes SubRip's "{\...}" override blocks from `line`; a "{\" that never
/// closes stays as text.
QString RemoveOverrides(QStringView line);

/// Decodes WebVTT's character references: "&amp;", "&lt;", "&gt;", "&quot;",
/// "&apos;", "&nbsp;", "&lrm;", "&rlm;" and numeric ones ("&#233;", "&#xE9;").
/// Others stay as written.
QString DecodeReferences(QStringView text);

/// Whether `text` from `open` to `close` ("<" to the first ">" after it) is
/// a tag that SubRip and WebVTT files write: <i>, <b>, <u>, <s>, <font …>,
/// <c.x>, <v Name>, <lang …>, <ruby>, <rt>, <rp>, <br>, their end tags, or
/// a timestamp "<00:00:01.000>". Names in any letter case.
bool IsKnownTag(QStringView text, qsizetype open, qsizetype close);

/// Walks `body` from the start, handing `text` each piece between tags
/// (maybe empty), cleaned by the body's rules, and `tag` each tag from "<" to
/// ">". A "<" with no ">" after it begins no tag: it and everything after it
/// are the last piece; with knownTagsOnly, a "<" that begins no known tag is
/// text too. Text before a "<" never holds another "<" that begins a tag, so
/// one forward pass finds what restarting from the beginning after each tag
/// would.
template <typename OnText, typename OnTag>
void ScanCaptionTags(const CaptionBody &body, OnText &&text, OnTag &&tag)
{
    const QStringView all(body.text);
    qsizetype pos = 0;
    qsizetype from = 0;     // where the "<" search goes on
    qsizetype nextClose = 0; // the next ">" at or after the search; -1: none left
    for (;;) {
        const qsizetype open = all.indexOf(u'<', from);
        if (open < 0)
            break;
        if (nextClose >= 0 && nextClose <= open)
            nextClose = all.indexOf(u'>', open + 1);
        if (nextClose < 0)
            break;
        const qsizetype close = nextClose;
        if (body.rules.knownTagsOnly && !IsKnownTag(all, open, close)) {
            from = open + 1;
            continue;
        }
        text(QStringView(CleanTextPiece(all.mid(pos, open - pos), body.rules)));
        tag(all.mid(open, close - open + 1));
        pos = from = close + 1;
    }
    text(QStringView(CleanTextPiece(all.mid(pos), body.rules)));
}

} // namespace velmo
