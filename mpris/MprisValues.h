#pragma once

// How the player's own values read on the media-player bus interface and
// back: pure functions, so that every rule of the mapping stands in one place.

#include <QString>

#include <cstdint>
#include <optional>
#include <string>

namespace velmo::mpris {

/// The track id of "no track": what Metadata holds while nothing is open.
inline constexpr char kNoTrackId[] = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
/// The slowest and fastest rates the player offers (its rate commands).
inline constexpr double kMinimumRate = 0.5;
inline constexpr double kMaximumRate = 2.0;

/// A volume slider position (0 to 100) as the bus volume (0.0 to 1.0).
double VolumeFromSlider(int position);
/// A bus volume as the slider position: negative is 0, above 1.0 is full,
/// otherwise the nearest whole position; NaN is silence.
int SliderFromVolume(double volume);

/// Seconds as microseconds, rounded; negative or NaN is 0.
int64_t MicrosFromSeconds(double seconds);
/// Microseconds as seconds.
double SecondsFromMicros(int64_t micros);

/// Where playback stands, in the interface's own terms; no media is Stopped.
enum class PlayState { Stopped, Paused, Playing };

/// "Playing", "Paused" or "Stopped".
QString PlaybackStatusName(PlayState state);

/// The track id of a medium: an object path of its own under /org/velmo/track,
/// the same for the same path or address; kNoTrackId for "".
QString TrackIdFor(const std::string &mediaPath);

/// Where a relative seek lands: never before 0; empty when it would pass the
/// end of a medium of known length (the interface then asks for the next
/// track). `length` <= 0 means unknown: no end to pass.
std::optional<int64_t> SeekTarget(int64_t current, int64_t offset, int64_t length);

/// Whether an absolute position may be set: within 0 and the length.
bool AcceptsPosition(int64_t position, int64_t length);

/// What a rate asked on the bus does.
enum class RateRequest { Apply, Pause, Refuse };
/// 0 pauses; the rates between kMinimumRate and kMaximumRate apply; the rest
/// (and NaN) are refused.
RateRequest ClassifyRate(double rate);

/// The medium an OpenUri names: the local path of a file: URI, an http,
/// https or rtsp address as it stands; empty when the URI is malformed, has no
/// scheme or a scheme the player cannot open.
std::optional<std::string> MediaFromUri(const QString &uri);

/// The title of a medium: a file's name, or an address's last path segment
/// (the whole address when it has none).
QString TitleFor(const std::string &mediaPath);
/// The URL of a medium: file:// for a local path, an address as it stands.
QString UrlFor(const std::string &mediaPath);

} // namespace velmo::mpris
