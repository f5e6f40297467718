#include "controls/PlaybackRules.h"

#include "engine/MediaGraph.h"
#include "subtitles/SubtitleStyle.h"
#include "text/ClockText.h"

#include <cmath>

namespace velmo {

bool SetVolumeFromPosition(int position, SubtitleStyle &style, MediaGraph &graph)
{
    style.volumeLevel = position * 100 - 10000;
    if (!style.soundEnabled)
        return false;
    if (graph.graph && graph.basicAudio)
        graph.basicAudio->put_Volume(style.volumeLevel);
    return true;
}

int TimelinePercent(double positionSeconds, double durationSeconds)
{
    if (!(durationSeconds > 0) || !std::isfinite(positionSeconds))
        return 0;
    const double percent = std::trunc(positionSeconds * 100.0 / durationSeconds);
    // A position past a (shrinking) duration must not overflow the slider's int.
    if (percent < 0)
        return 0;
    return percent > 100 ? 100 : static_cast<int>(percent);
}

int AdvanceTimeline(int current, double positionSeconds, double durationSeconds)
{
    const int percent = TimelinePercent(positionSeconds, durationSeconds);
    return percent > current ? percent : current;
}

double JumpEndPosition(double durationSeconds)
{
    const double target = durationSeconds - 5.0;
    return target > 0 ? target : 0.0;
}

QString TimeText(double positionSeconds, double durationSeconds)
{
    return DisplayClockText(positionSeconds) + QStringLiteral(" / ") + DisplayClockText(durationSeconds);
}

bool TogglePlayback(MediaGraph &graph)
{
    if (!graph.graph || !graph.control)
        return false;
    int32_t state = -1;
    if (Failed(graph.control->GetState(0, &state)))
        return false;
    switch (state) {
    case State_Stopped:
        if (graph.position)
            graph.position->put_CurrentPosition(0.0);
        graph.control->Run();
        return true;
    case State_Paused:
        graph.control->Run();
        return false;
    case State_Running:
        graph.control->Pause();
        return false;
    default:
        return false;
    }
}

} // namespace velmo
