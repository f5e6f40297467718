#pragma once

// The player's two clocks: the time display's, and the one that names a
// position in the resume offer, the recent menu and the A-B repeat message.

#include <QString>

#include <cstdint>

namespace velmo {

/// The time display's clock for `seconds`: "0H:MM:SS", the hours with one
/// leading zero whatever their count ("00:00:00", "010:00:00"), minutes and
/// seconds two digits. Not finite, negative or past 10^9 seconds shows 0.
QString DisplayClockText(double seconds);

/// `positionMs` as "HH:MM:SS": at least two hour digits, more past 99 hours;
/// a negative position is 0.
QString ClockText(int64_t positionMs);

} // namespace velmo
