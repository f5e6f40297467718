#include "player/PlaybackRules.h"

#include "text/ClockText.h"

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

QString TimeText(double positionSeconds, double durationSeconds)
{
    return DisplayClockText(positionSeconds) + QStringLiteral(" / ") + DisplayClockText(durationSeconds);
}

} // namespace velmo
