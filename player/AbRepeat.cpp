#include "player/AbRepeat.h"

#include "text/ClockText.h"

#include <utility>

namespace velmo {

QString AbRepeat::Press(int64_t positionMs)
{
    switch (state_) {
    case State::Off:
        state_ = State::MarkedA;
        a_ = positionMs;
        return QStringLiteral("A-B 반복 시작");
    case State::MarkedA:
        if (positionMs == a_)
            return QStringLiteral("A-B 반복 시작");
        b_ = positionMs;
        if (b_ < a_)
            std::swap(a_, b_);
        state_ = State::Looping;
        return QStringLiteral("A-B 반복: %1 ~ %2").arg(ClockText(a_), ClockText(b_));
    case State::Looping:
        break;
    }
    state_ = State::Off;
    return QStringLiteral("A-B 반복 해제");
}

bool AbRepeat::Passed(int64_t fromMs, int64_t toMs) const
{
    return state_ == State::Looping && fromMs < b_ && toMs >= b_ && toMs - fromMs <= kMaxPlayedMs;
}

} // namespace velmo
