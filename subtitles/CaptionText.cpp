#include "subtitles/CaptionText.h"

#include "subtitles/CaptionTags.h"

namespace velmo {

QString CleanCaption(const QString &raw)
{
    const std::optional<CaptionBody> body = ReadCaptionBody(raw);
    if (!body)
        return raw.isNull() ? QStringLiteral("") : raw;
    QString out;
    out.reserve(body->text.size());
    ScanCaptionTags(
        *body, [&](QStringView piece) { out.append(piece); }, [](QStringView) {});
    return out;
}

} // namespace velmo
