#include "engine/CaptionTrack.h"

#include "engine/GstSupport.h"

#include <algorithm>
#include <cmath>

namespace velmo {

namespace {
// A start this close ahead counts as reached: waking a few milliseconds early
// beats arming a timer for almost nothing.
constexpr int64_t kDueSlackMs = 3;
} // namespace

CaptionTrack::CaptionTrack(std::vector<SamiCaption> captions, Clock clock)
    : captions_(std::move(captions)), clock_(std::move(clock))
{
    std::stable_sort(captions_.begin(), captions_.end(),
                     [](const SamiCaption &a, const SamiCaption &b) { return a.startMs < b.startMs; });
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &CaptionTrack::OnTimer);
}

void CaptionTrack::Seek(int64_t ms, SeekMode mode)
{
    // The first caption that starts after the position comes next; the one
    // before it is the caption current at the position.
    auto after = std::upper_bound(captions_.begin(), captions_.end(), ms,
                                  [](int64_t t, const SamiCaption &c) { return t < c.startMs; });
    next_ = static_cast<size_t>(after - captions_.begin());
    if (next_ > 0)
        clock_.deliver(captions_[next_ - 1].text);
    else if (mode == ClearWhenNone)
        clock_.deliver(QStringLiteral("<P>&nbsp;"));
    Resync();
}

void CaptionTrack::Resync()
{
    Q_ASSERT(OnUiThread());
    timer_.stop();
    if (next_ >= captions_.size() || !clock_.running())
        return;
    int64_t now = 0;
    if (!clock_.position(&now)) {
        // Position not known yet (still prerolling): look again shortly.
        timer_.start(20);
        return;
    }
    while (next_ < captions_.size() && captions_[next_].startMs <= now + kDueSlackMs)
        clock_.deliver(captions_[next_++].text);
    if (next_ >= captions_.size())
        return;
    const double rate = std::max(clock_.rate(), 0.01);
    const double waitMs = double(captions_[next_].startMs - now) / rate;
    timer_.start(static_cast<int>(std::clamp(std::floor(waitMs), 0.0, 3600.0 * 1000)));
}

void CaptionTrack::OnTimer()
{
    Resync();
}

} // namespace velmo
