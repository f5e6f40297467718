#pragma once

#include <QString>

#include <cstdint>
#include <string>

namespace velmo::mpris {

/// What the bus interface shows of the player at one moment (all but the
/// position, which is read when asked and never announced).
struct PlayerSnapshot {
    QString playbackStatus = QStringLiteral("Stopped");
    QString trackId;         ///< an object path; the no-track id without media
    int64_t lengthUs = 0;    ///< 0: unknown or no media
    QString title;
    QString url;
    double rate = 1.0;
    double volume = 0.0;     ///< 0.0 to 1.0
    bool canPlay = false;    ///< media is open
    bool canSeek = false;    ///< media of known length is open
    bool canGoNext = false;
    bool canGoPrevious = false;

    bool operator==(const PlayerSnapshot &) const = default;
};

/// The player as the bus interface drives it: requests already checked
/// against the interface's rules, in the player's own terms.
class PlayerPort {
public:
    virtual ~PlayerPort() = default;

    virtual PlayerSnapshot Snapshot() const = 0;
    /// The position now, microseconds (0 without media).
    virtual int64_t PositionUs() const = 0;

    virtual void Raise() = 0;
    virtual void Quit() = 0;
    virtual void PlayPause() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    /// The next and previous media; nothing while the player has no list to step through.
    virtual void Next() = 0;
    virtual void Previous() = 0;
    /// An absolute seek within the open medium.
    virtual void SetPositionUs(int64_t position) = 0;
    /// Opens a local path or an address, as the open commands do.
    virtual void Open(const std::string &media) = 0;
    /// One of the rates between the minimum and the maximum.
    virtual void SetRate(double rate) = 0;
    /// A volume slider position, 0 to 100.
    virtual void SetVolumePosition(int position) = 0;
};

} // namespace velmo::mpris
