#include "player/SoundSync.h"

#include "resources/CommandIds.h"

#include <algorithm>
#include <cstdlib>

namespace velmo {

int64_t SoundDelayAfter(int id, int64_t delayMs)
{
    int64_t step = 0;
    switch (id) {
    case ID_SOUND_EARLIER: step = -10; break;
    case ID_SOUND_LATER: step = 10; break;
    case ID_SOUND_EARLIER_MORE: step = -100; break;
    case ID_SOUND_LATER_MORE: step = 100; break;
    default: return delayMs;
    }
    return std::clamp(delayMs + step, -kMaxSoundDelayMs, kMaxSoundDelayMs);
}

QString SoundSyncMessage(int64_t delayMs)
{
    // Whole hundredths, so that no rounding of a double shows.
    const int64_t hundredths = std::llabs(delayMs) / 10;
    const QString sign = delayMs > 0 ? QStringLiteral("+") : delayMs < 0 ? QStringLiteral("-") : QString();
    return QStringLiteral("음성 싱크 %1%2.%3초")
        .arg(sign)
        .arg(hundredths / 100)
        .arg(int(hundredths % 100), 2, 10, QLatin1Char('0'));
}

} // namespace velmo
