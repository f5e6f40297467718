#include "subtitles/CaptionTags.h"

namespace velmo {

std::optional<QString> CaptionBody(const QString &raw)
{
    const qsizetype firstClose = raw.indexOf(u'>');
    if (firstClose < 0)
        return std::nullopt;
    QString body = raw.mid(firstClose + 1);
    body.replace(QStringLiteral("<br>"), QStringLiteral("\r\n"));
    body.replace(QStringLiteral("<BR>"), QStringLiteral("\r\n"));
    // "/" is left to the readers: the text makes it a blank, the runs keep it
    // in tags to tell closers. No pattern here holds a "/" or a blank, so
    // turning it later changes nothing.
    body.replace(QStringLiteral("&NBSP;"), QStringLiteral(" "));
    body.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    return body;
}

} // namespace velmo
