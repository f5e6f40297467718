#include "player/PlaybackRules.h"


#include <cmath>

namespace velmo {

int TimelinePercent(double positionSeconds, double durationSeconds)
{
    if (!(durationSeconds > 0) || !std::isfinite(positionSeconds))
        return 0;
    const double percent = std::trunc(positionSeconds * 100.0 / durationSeconds);
    // A position past a (shrinking) duration must not overflow the slider's int.
    if (percent < 0)
        return 0;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

int AdvanceTimeline(int current, double positionSeconds, double durationSeconds)
{
    const int percent = TimelinePercent(positionSeconds, durationSeconds);
    return percent > current ? percent : current;
}

double JumpEndPosition(double durationSeconds)
{
    const double target = durationSeconds - 5.0;
    return target > 0 ? target : 0.0;
}

namespace {

/// One half of the time text. Minutes come from the position times 1/60, not
/// from the whole seconds, as the display has always counted them.
QString ClockText(double seconds)
{
    // Garbage from a stream must not become an undefined conversion.
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
        seconds = 0;
    const int64_t whole = static_cast<int64_t>(seconds);
    const int64_t hours = whole / 60 / 60;
    const int64_t minutes = static_cast<int64_t>(seconds * 0.016666666666666666) % 60;
    const int64_t secs = whole % 60;
    const auto twoDigits = [](int64_t v) { return (v < 10 ? QStringLiteral("0") : QString()) + QString::number(v); };
    return QStringLiteral("0%1:%2:%3").arg(hours).arg(twoDigits(minutes), twoDigits(secs));
}

} // namespace

QString TimeText(double positionSeconds, double durationSeconds)
{
    return ClockText(positionSeconds) + QStringLiteral(" / ") + ClockText(durationSeconds);
}

} // namespace velmo
