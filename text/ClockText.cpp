#include "text/ClockText.h"

#include <algorithm>
#include <cmath>

namespace velmo {

namespace {

// The hours as each clock writes them, then ":MM:SS".
QString clock(const QString &hours, long long minutes, long long seconds)
{
    return hours + QString::asprintf(":%02lld:%02lld", minutes, seconds);
}

} // namespace

QString DisplayClockText(double seconds)
{
    // Garbage from a stream must not become an undefined conversion.
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
        seconds = 0;
    const long long whole = static_cast<long long>(seconds);
    // Minutes come from the position times 1/60, not from the whole seconds,
    // as the display has always counted them.
    const long long minutes = static_cast<long long>(seconds * 0.016666666666666666) % 60;
    return clock(QStringLiteral("0") + QString::number(whole / 3600), minutes, whole % 60);
}

QString ClockText(int64_t positionMs)
{
    const long long s = std::max<long long>(positionMs, 0) / 1000;
    return clock(QString::asprintf("%02lld", s / 3600), s / 60 % 60, s % 60);
}

} // namespace velmo
