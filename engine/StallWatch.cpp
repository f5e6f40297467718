#include "engine/StallWatch.h"

namespace velmo {

bool StallWatch::Look(int64_t nowMs, uint64_t reads, bool watched, bool moving)
{
    if (!watched || !watching_ || reads != reads_) {
        watching_ = watched;
        reads_ = reads;
        sinceMs_ = nowMs;
        return false;
    }
    return !moving && nowMs - sinceMs_ >= stallMs_;
}

} // namespace velmo
