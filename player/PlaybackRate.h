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

/// The rate after speed command `id` (ID_SPEED_UP, _DOWN or _RESET) from
/// `hundredths`: a step goes to the next multiple of 0.1 that way, within
/// the bounds; other ids leave it.
int RateAfter(int id, int hundredths);

/// "속도 1.2배", "속도 1.0배", "속도 0.25배": at least one decimal.
QString RateMessage(int hundredths);

} // namespace velmo
