#include "subtitles/CaptionText.h"

namespace velmo {

QString CleanCaption(const QString &raw)
{
    return raw;
}

} // namespace velmo
