// Times repeated steps back (the D key) in a paused clip: from each press to
// the picture handed to the screen.
//
//   velmo_bench_step_back CLIP [PRESSES] [FROM_SECONDS] [PAUSE_MS] [--playing]
//
// Opens CLIP into a 1280x720 picture, pauses, seeks exactly to FROM_SECONDS
// (default 9), then presses D PRESSES times (default 30), PAUSE_MS apart
// (default 150, a quick user's pace) once each picture has come, then seeks
// 1 s back. With --playing the clip plays for 300 ms before the first press,
// which then pauses and steps at once, as the player does. Prints "rss_mb_kept=<resident MiB after the presses>
// rss_mb_after_seek=<the same after the seek> press_ms=<each press>
// first_ms=<the first> rest_median_ms=<median of the others>
// rest_max_ms=<slowest of the others> cpu_s=<user+system>".

#include "engine/GstVideoOutput.h"
#include "engine/MediaGraph.h"
#include "engine/VideoFrameSink.h"

#include <gst/gst.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

using namespace velmo;

namespace {

/// Notes when each picture reaches it.
class TimedSink : public QWidget, public VideoFrameSink {
public:
    void ShowFrame(const VideoFrame &) override
    {
        ++frames;
        lastNs = clock.nsecsElapsed();
        if (frameNs)
            shownFrameNs = frameNs();
    }
    void ClearFrame() override {}
    QElapsedTimer clock;
    int frames = 0;
    qint64 lastNs = 0;             ///< when the last picture came
    std::function<int64_t()> frameNs; ///< the time in the medium of the picture handed over
    int64_t shownFrameNs = -1;     ///< that of the last picture that came
};

bool RunUntil(const std::function<bool()> &done, int timeoutMs = 20000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
    }
    return true;
}

void Idle(int ms)
{
    QElapsedTimer waited;
    waited.start();
    RunUntil([&] { return waited.elapsed() >= ms; });
}

double ResidentMb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atof(line.c_str() + 6) / 1024;
    return -1;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLIP [PRESSES] [FROM_SECONDS] [PAUSE_MS] [--playing]\n", argv[0]);
        return 2;
    }
    const int presses = argc > 2 ? std::atoi(argv[2]) : 30;
    const double from = argc > 3 ? std::atof(argv[3]) : 9.0;
    const int pauseMs = argc > 4 ? std::atoi(argv[4]) : 150;
    const bool playing = argc > 5 && std::string(argv[5]) == "--playing";
    QApplication app(argc, argv);
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return 1;
    MediaGraph graph;
    TimedSink screen;
    screen.resize(1280, 720);
    screen.clock.start();
    bool opened = false;
    HResult result = E_FAIL;
    if (Failed(graph.BeginOpen(&screen, argv[1], &screen, [&](HResult r) { opened = true, result = r; })) ||
        !RunUntil([&] { return opened; }) || Failed(result)) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    graph.SetVideoRect(0, 0, 1280, 720);
    graph.control->Pause();
    int64_t units = int64_t(from * 1e7);
    graph.seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    // Settled where asked: the picture there shows.
    const auto shownMs = [&] {
        QImage picture;
        int64_t at = -1;
        graph.frames->GrabPicture(&picture, &at);
        return at;
    };
    if (!RunUntil([&] { return shownMs() >= int64_t(from * 1000) - 40; }, 60000)) {
        std::fprintf(stderr, "the seek to %g s did not land\n", from);
        return 1;
    }
    Idle(500);
    if (playing) {
        // The first press comes while it plays, as the player pauses and steps at once.
        graph.control->Run();
        Idle(300);
        graph.control->Pause();
    }

    // A picture from before the press, or a late one of the playing clip,
    // does not count: only one earlier than the picture the press began from.
    const auto output = std::dynamic_pointer_cast<GstVideoOutput>(graph.overlayMixer);
    screen.frameNs = [&output] {
        int64_t ns = -1, duration = 0;
        output->FrameTime(&ns, &duration);
        return ns;
    };
    std::vector<double> ms;
    for (int i = 0; i < presses; ++i) {
        const int64_t from = screen.frameNs();
        const qint64 pressed = screen.clock.nsecsElapsed();
        const HResult stepped = graph.frames->StepBack();
        if (stepped != S_OK || !RunUntil([&] { return screen.lastNs > pressed && screen.shownFrameNs < from; })) {
            std::fprintf(stderr, "press %d showed no picture (0x%08x)\n", i + 1, unsigned(stepped));
            return 1;
        }
        ms.push_back((screen.lastNs - pressed) / 1e6);
        Idle(pauseMs);
    }
    // Resident memory with the pictures kept, and once a seek has let them go.
    const double keptMb = ResidentMb();
    units -= 10'000'000;
    graph.seeking->SetPositions(&units, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    Idle(1500);
    const double forgottenMb = ResidentMb();
    graph.Close();

    std::printf("rss_mb_kept=%.0f rss_mb_after_seek=%.0f ", keptMb, forgottenMb);
    std::printf("press_ms=");
    for (size_t i = 0; i < ms.size(); ++i)
        std::printf("%s%.1f", i ? "," : "", ms[i]);
    std::vector<double> rest(ms.begin() + 1, ms.end());
    std::sort(rest.begin(), rest.end());
    std::printf(" first_ms=%.1f rest_median_ms=%.1f rest_max_ms=%.1f cpu_s=%.2f\n", ms[0],
                rest.empty() ? 0.0 : rest[rest.size() / 2], rest.empty() ? 0.0 : rest.back(), CpuSeconds());
    return 0;
}
