#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

/// The A-B repeat of one medium: the first press marks A, the second marks B
/// and loops, the third clears. Positions in milliseconds.
class AbRepeat {
public:
    enum class State { Off, MarkedA, Looping };

    /// One press of the key at `positionMs`; returns the message to show.
    /// A B before A swaps the two; a B at A itself marks A again.
    QString Press(int64_t positionMs);
    /// Back to Off, silently (the medium changed or closed).
    void Clear() { state_ = State::Off; }
    /// Whether playback moving from `fromMs` to `toMs` (two position timer
    /// ticks) passed B, so that it goes back to A. A move forward of more than
    /// kMaxPlayedMs is a seek, not playback: a seek past B leaves the loop
    /// waiting until playback passes B again.
    bool Passed(int64_t fromMs, int64_t toMs) const;

    /// The most that playback moves between two ticks: 100 ms at the fastest
    /// rate, 4.0, with room for a busy moment.
    static constexpr int64_t kMaxPlayedMs = 1000;

    State state() const { return state_; }
    int64_t a() const { return a_; }
    int64_t b() const { return b_; }

private:
    State state_ = State::Off;
    int64_t a_ = 0;
    int64_t b_ = 0;
};

} // namespace velmo
