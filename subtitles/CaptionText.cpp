#include "subtitles/CaptionText.h"

namespace velmo {

namespace {

// Deletes every "<...>" from the start on; a "<" with no ">" after it ends
// the removal, and it stays together with the text that follows it. Text
// before the first "<" never holds another "<", so one forward pass does
// what restarting from the beginning after each deletion would.
QString removeTags(const QString &text)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(u'<', pos);
        if (open < 0)
            break;
        const qsizetype close = text.indexOf(u'>', open + 1);
        if (close < 0)
            break;
        out.append(QStringView(text).mid(pos, open - pos));
        pos = close + 1;
    }
    out.append(QStringView(text).mid(pos));
    return out;
}

} // namespace

QString CleanCaption(const QString &raw)
{
    const qsizetype firstClose = raw.indexOf(u'>');
    if (firstClose < 0)
        return raw.isNull() ? QStringLiteral("") : raw; // nothing to replace, and no tag can close
    QString text = raw.mid(firstClose + 1);
    text.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    text.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"));
    text.replace(u'/', u' ');
    text.replace(QStringLiteral("&NBSP;"), QStringLiteral(" "));
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    return removeTags(text);
}

} // namespace velmo
