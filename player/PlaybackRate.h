#pragma once

#include <QString>

namespace velmo {

/// The speed keys work in hundredths of the normal rate, so that steps of 0.1
/// never drift: 25 (0.25) to 400 (4.0).
inline constexpr int kSlowestRate = 25;
inline constexpr int kFastestRate = 400;
inline constexpr int kNormalRate = 100;

/// The rate in hundredths nearest to `rate`.
int RateHundredths(double rate);

/// The rate after speed command `id` from `hundredths`: ID_SPEED_UP and
/// _DOWN go to the next multiple of 0.1 that way, within the bounds;
/// ID_SPEED_RESET and the menu's fixed rates (ID_RATE_SLOW 0.5, _NORMAL 1.0,
/// _FAST 2.0) set theirs; other ids leave it.
int RateAfter(int id, int hundredths);

/// "속도 1.2배", "속도 1.0배", "속도 0.25배": at least one decimal.
QString RateMessage(int hundredths);

} // namespace velmo
