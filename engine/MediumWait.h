#pragma once

#include <QPointer>

#include <cstdint>
#include <functional>

class QEventLoop;

namespace velmo {

/// The UI thread's wait for a medium's first data. Paint and timers go on
/// meanwhile; the user's keys and clicks are dropped, but a request to close
/// a window is answered (the window system counts it as input, so a loop that
/// held input back would hold it for the whole wait).
class MediumWait {
public:
    /// Why a wait ended.
    enum class End {
        Finished,  ///< Finish() was called: the medium answered
        Deadline,  ///< the deadline passed
        Stalled,   ///< the progress count stood still for the stall time while `stuck` held
        Abandoned, ///< the loop was ended from outside (the application is quitting)
    };

    explicit MediumWait(int deadlineMs) : deadlineMs_(deadlineMs) {}
    MediumWait(const MediumWait &) = delete;
    MediumWait &operator=(const MediumWait &) = delete;

    /// Ends the wait early once `progress()` has not moved for `stallMs` and
    /// `stuck()` is true. Both are asked on the UI thread, a few times a second.
    void WatchProgress(std::function<uint64_t()> progress, std::function<bool()> stuck, int stallMs);
    /// Waits until one of the ends; returns which.
    End Run();
    /// Ends a running wait as Finished; does nothing when none runs.
    void Finish();

private:
    const int deadlineMs_;
    std::function<uint64_t()> progress_;
    std::function<bool()> stuck_;
    int stallMs_ = 0;
    QPointer<QEventLoop> loop_;
    End end_ = End::Abandoned;
};

} // namespace velmo
