#include "subtitles/CaptionText.h"

#include "subtitles/CaptionTags.h"

namespace velmo {

QString CleanCaption(const QString &raw)
{
    std::optional<QString> body = CaptionBody(raw);
    if (!body)
        return raw.isNull() ? QStringLiteral("") : raw;
    body->replace(u'/', u' ');
    QString out;
    out.reserve(body->size());
    ScanCaptionTags(
        *body, [&](QStringView piece) { out.append(piece); }, [](QStringView) {});
    return out;
}

} // namespace velmo
