#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <functional>

namespace velmo {

/// Watches a medium being opened with the UI thread's timers (no loop of its
/// own: the open goes on while the program runs) and tells once when it is
/// given up on: the deadline passed, or its progress stood still too long.
class MediumWatch {
public:
    /// Why a medium was given up on.
    enum class End {
        Deadline, ///< the deadline passed
        Stalled,  ///< the progress count stood still for the stall time while `stuck` held
    };
    using Ended = std::function<void(End)>;

    explicit MediumWatch(int deadlineMs);
    MediumWatch(const MediumWatch &) = delete;
    MediumWatch &operator=(const MediumWatch &) = delete;

    /// Also gives up once `progress()` has not moved for `stallMs` and
    /// `stuck()` is true; both are asked on the UI thread, a few times a
    /// second. Takes effect at the next Start.
    void WatchProgress(std::function<uint64_t()> progress, std::function<bool()> stuck, int stallMs);
    /// Starts watching anew; `ended` is told once, from a timer, unless Stop
    /// (or the watch's destruction) comes first.
    void Start(Ended ended);
    /// Stops watching; nothing is told.
    void Stop();
    /// A watch is under way.
    bool Watching() const { return deadline_.isActive(); }

private:
    void Look();
    void GiveUp(End why);

    QTimer deadline_;
    QTimer look_;
    std::function<uint64_t()> progress_;
    std::function<bool()> stuck_;
    int stallMs_ = 0;
    uint64_t lastProgress_ = 0;
    QElapsedTimer still_; ///< since the progress last moved
    Ended ended_;
};

} // namespace velmo
