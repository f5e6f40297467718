#pragma once

#include <QString>

#include <cstdint>

namespace velmo {

class MediaGraph;

/// The filter list of the media file dialog, in its classic "label|patterns|...||" form.
extern const char *const kMediaFileFilter;
/// The filter list of the subtitle file dialog.
extern const char *const kSubtitleFileFilter;

/// A classic filter list ("label|*.a;*.b|label|*.c||") as Qt's name filters
/// ("label (*.a *.b);;label (*.c)"): the same labels and patterns, in order.
QString QtFileFilter(const char *classicFilter);

/// The volume level (hundredths of a decibel) of a volume slider position:
/// 0 gives -10000 (silence), 100 gives 0 (full).
int32_t VolumeLevelFromPosition(int position);

/// The timeline slider value of a position: the truncated per cent of the
/// duration, 0 while the duration is not positive.
int TimelinePercent(double positionSeconds, double durationSeconds);

/// The timeline value after a timer tick: the position's per cent when it is
/// ahead of `current`, else `current` (the timer never moves a slider back).
int AdvanceTimeline(int current, double positionSeconds, double durationSeconds);

/// Where the end jump lands: five seconds before the end, and never before
/// the start on media shorter than that.
double JumpEndPosition(double durationSeconds);

/// Play/pause on the graph: stopped plays from the start, paused runs, running
/// pauses; nothing without media. Returns whether it rewound to the start
/// (the caller then puts its timeline back to 0).
bool TogglePlayback(MediaGraph &graph);

} // namespace velmo
