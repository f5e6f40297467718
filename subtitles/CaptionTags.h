#pragma once

// What the caption's text and its styled runs both read a caption by, so that
// the runs put together are always the text.

#include <QString>
#include <QStringView>

#include <optional>

namespace velmo {

/// A caption as the readers hand it on (the P element with its markup), made
/// ready for its tags: everything up to the first ">" dropped, "<br>" and
/// "<BR>" made "\r\n", "&NBSP;" and "&nbsp;" made spaces. None when the
/// caption has no ">": then nothing is replaced and no tag can close.
std::optional<QString> CaptionBody(const QString &raw);

/// Walks `body` from the start, handing `text` each piece between tags (maybe
/// empty) and `tag` each tag from "<" to ">". A "<" with no ">" after it
/// begins no tag: it and everything after it are the last piece. Text before
/// a "<" never holds another "<", so one forward pass finds what restarting
/// from the beginning after each tag would.
template <typename OnText, typename OnTag>
void ScanCaptionTags(QStringView body, OnText &&text, OnTag &&tag)
{
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = body.indexOf(u'<', pos);
        if (open < 0)
            break;
        const qsizetype close = body.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        text(body.mid(pos, open - pos));
        tag(body.mid(open, close - open + 1));
        pos = close + 1;
    }
    text(body.mid(pos));
}

} // namespace velmo
