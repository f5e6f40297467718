#include "engine/MediumWatch.h"

#include <utility>

namespace velmo {

namespace {
constexpr int kLookIntervalMs = 250;
} // namespace

MediumWatch::MediumWatch(int deadlineMs)
{
    deadline_.setSingleShot(true);
    deadline_.setInterval(deadlineMs);
    QObject::connect(&deadline_, &QTimer::timeout, [this] { GiveUp(End::Deadline); });
    look_.setInterval(kLookIntervalMs);
    QObject::connect(&look_, &QTimer::timeout, [this] { Look(); });
}

void MediumWatch::WatchProgress(std::function<uint64_t()> progress, std::function<bool()> stuck, int stallMs)
{
    progress_ = std::move(progress);
    stuck_ = std::move(stuck);
    stallMs_ = stallMs;
}

void MediumWatch::Start(Ended ended)
{
    ended_ = std::move(ended);
    deadline_.start();
    if (!progress_)
        return;
    lastProgress_ = progress_();
    still_.start();
    look_.start();
}

void MediumWatch::Stop()
{
    deadline_.stop();
    look_.stop();
    ended_ = nullptr;
}

void MediumWatch::Look()
{
    const uint64_t now = progress_();
    if (now != lastProgress_) {
        lastProgress_ = now;
        still_.restart();
    } else if (still_.elapsed() >= stallMs_ && stuck_()) {
        GiveUp(End::Stalled);
    }
}

// The one told may destroy the watch: nothing is touched after telling.
void MediumWatch::GiveUp(End why)
{
    Ended ended = std::exchange(ended_, nullptr);
    deadline_.stop();
    look_.stop();
    if (ended)
        ended(why);
}

} // namespace velmo
