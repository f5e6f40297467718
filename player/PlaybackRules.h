#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

/// The timeline slider value of a position: the truncated per cent of the
/// duration, 0 while the duration is not positive.
int TimelinePercent(double positionSeconds, double durationSeconds);

/// The timeline value after a timer tick: the position's per cent when it is
/// ahead of `current`, else `current` (the timer never moves a slider back).
int AdvanceTimeline(int current, double positionSeconds, double durationSeconds);

/// Where the end jump lands: five seconds before the end, and never before
/// the start on media shorter than that.
double JumpEndPosition(double durationSeconds);

/// The time display's line for a position and a duration in seconds, as
/// "0H:MM:SS / 0H:MM:SS": the hours always get one leading zero (36000 s is
/// "010:00:00"), minutes and seconds are two digits.
QString TimeText(double positionSeconds, double durationSeconds);

} // namespace velmo
