#include "player/PlaybackRate.h"

#include "resources/CommandIds.h"

#include <algorithm>
#include <cmath>

namespace velmo {

int RateHundredths(double rate)
{
    return int(std::lround(rate * 100.0));
}

int RateAfter(int id, int hundredths)
{
    switch (id) {
    case ID_SPEED_UP: return std::min(kFastestRate, (hundredths / 10 + 1) * 10);
    case ID_SPEED_DOWN: return std::max(kSlowestRate, ((hundredths + 9) / 10 - 1) * 10);
    case ID_SPEED_RESET: return kNormalRate;
    case ID_RATE_SLOW: return 50;
    case ID_RATE_NORMAL: return kNormalRate;
    case ID_RATE_FAST: return 200;
    default: return hundredths;
    }
}

QString RateMessage(int hundredths)
{
    const int decimals = hundredths % 10 == 0 ? 1 : 2;
    return QStringLiteral("속도 %1배").arg(QString::number(hundredths / 100.0, 'f', decimals));
}

} // namespace velmo
