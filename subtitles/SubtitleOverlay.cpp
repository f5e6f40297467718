#include "subtitles/SubtitleOverlay.h"

namespace velmo {

QImage DrawSubtitleLayer(const QSize &, const QString &, const SubtitleStyle &)
{
    return {};
}

} // namespace velmo
