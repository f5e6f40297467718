#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

class MediaGraph;
class SubtitleStyle;

/// A volume slider position (0 to 100) as the player's volume: the level, in
/// hundredths of a decibel from -10000 (silence, 0) to 0 (full, 100), is kept
/// in `style` always and reaches the open media only while the sound is on
/// (a muted player keeps the level for the unmute). Returns whether the sound is on.
bool SetVolumeFromPosition(int position, SubtitleStyle &style, MediaGraph &graph);

/// The timeline slider value of a position: the truncated per cent of the
/// duration, 0 while the duration is not positive.
int TimelinePercent(double positionSeconds, double durationSeconds);

/// The timeline value after a timer tick: the position's per cent when it is
/// ahead of `current`, else `current` (the timer never moves a slider back).
int AdvanceTimeline(int current, double positionSeconds, double durationSeconds);

/// Where the end jump lands: five seconds before the end, and never before
/// the start on media shorter than that.
double JumpEndPosition(double durationSeconds);

/// The time display's line for a position and a duration in seconds, as
/// "0H:MM:SS / 0H:MM:SS": the hours always get one leading zero (36000 s is
/// "010:00:00"), minutes and seconds are two digits.
QString TimeText(double positionSeconds, double durationSeconds);

/// Play/pause on the graph: stopped plays from the start, paused runs, running
/// pauses; nothing without media. Returns whether it rewound to the start
/// (the caller then puts its timeline back to 0).
bool TogglePlayback(MediaGraph &graph);

} // namespace velmo
