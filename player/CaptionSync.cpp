#include "player/CaptionSync.h"

#include "resources/CommandIds.h"

namespace velmo {

int64_t CaptionOffsetAfter(int id, int64_t offsetMs)
{
    switch (id) {
    case ID_CAPTION_EARLIER: return offsetMs - kCaptionSyncStepMs;
    case ID_CAPTION_LATER: return offsetMs + kCaptionSyncStepMs;
    case ID_CAPTION_SYNC_RESET: return 0;
    default: return offsetMs;
    }
}

QString CaptionSyncMessage(int64_t offsetMs)
{
    const QString seconds = QString::number(double(offsetMs) / 1000.0, 'g', 12);
    return QStringLiteral("자막 싱크 %1%2초").arg(offsetMs > 0 ? QStringLiteral("+") : QString(), seconds);
}

} // namespace velmo
