#include "app/PlaybackRules.h"

#include "engine/MediaGraph.h"

#include <QStringList>

#include <cmath>

namespace velmo {

const char *const kMediaFileFilter =
    "재생가능한 미디어(전부)|*.avi;*.wmv;*.asf;*.mpg;*.mpeg;*.mpe;*.dat;*.m1v;*.m2;*.qt;*.mov;*.mp3;*.wav;*wma;*.lst|"
    "AVI(*.avi)|*.avi|ASF/WMV파일(*.asf *.wmv)|*.asf;*.wmv|ASX파일(*.asx)|*.asx|"
    "MPEG파일(*.mpg *.mpe *.mpeg *.dat *.m1v *m2)|*.mpg;*.mpe;*.mpeg;*.dat;*.m1v;*.m2|"
    "퀵타임 파일(*.qt *.mov)|*.qt;*.mov|사운드 파일(*.mp3 *.wav *wma)|*.mp3;*.wav;*.wma|모든파일(*.*)|*.*||";

const char *const kSubtitleFileFilter = "사미파일(벨모)|*.smi;*.sami|";

QString QtFileFilter(const char *classicFilter)
{
    const QStringList parts = QString::fromUtf8(classicFilter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break; // "||" ends the list
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

int32_t VolumeLevelFromPosition(int position)
{
    return position * 100 - 10000;
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
