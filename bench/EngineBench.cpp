// Plays one clip in a 1280x720 video screen and reports how long the first
// frame took and what the whole process spent on CPU to the end of the clip.
//
//   velmo_bench_engine CLIP [--first-frame]
//
// Prints "first_frame_ms=<open to first painted picture> start_to_frame_ms=<process
// start to first painted picture> cpu_s=<user+system> wall_s=<open to end>", and
// with --first-frame also where the time from process start went: "main_ms=" (to
// main), "qt_ms=" (QApplication made), "gst_ms=" (GStreamer up), "open_ms="
// (the open's end told: the medium running), all counted from process start.
// The screen and the graph are joined as the main window and the player join them.

#include "engine/EventQueue.h"
#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"

#include <gst/gst.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>

#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

using namespace velmo;

namespace {

/// Milliseconds since the process started, from the kernel's record of it.
double MsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    unsigned long long startTicks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i)
        if (i == 22)
            startTicks = std::stoull(field);
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = double(sysconf(_SC_CLK_TCK));
    return (now.tv_sec + now.tv_nsec / 1e9 - startTicks / ticks) * 1000.0;
}

double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
}

/// Notes the first paint that shows a picture, and ends the run at the end of the stream.
class Watcher : public QObject {
public:
    Watcher(VideoScreen *screen, MediaGraph *graph) : screen_(screen), graph_(graph) {}
    QElapsedTimer clock;
    double firstFrameMs = -1;
    double startToFrameMs = -1;
    bool firstFrameOnly = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == screen_ && event->type() == QEvent::Paint && firstFrameMs < 0 && screen_->HasPicture()) {
            // The picture is painted by this event; count it as shown once it returns.
            QMetaObject::invokeMethod(this, [this] { FirstFrame(); }, Qt::QueuedConnection);
        }
        if (event->type() == MediaEventType() && graph_->events) {
            int32_t code = 0;
            EventParam p1, p2;
            while (Succeeded(graph_->events->GetEvent(&code, &p1, &p2, 0))) {
                graph_->events->FreeEventParams(code, &p1, &p2);
                if (code == EC_COMPLETE)
                    QApplication::quit();
            }
            return true;
        }
        return false;
    }

private:
    void FirstFrame()
    {
        if (firstFrameMs >= 0)
            return;
        firstFrameMs = clock.nsecsElapsed() / 1e6;
        startToFrameMs = MsSinceProcessStart();
        if (firstFrameOnly)
            QApplication::quit();
    }
    VideoScreen *screen_;
    MediaGraph *graph_;
};

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CLIP [--first-frame]\n", argv[0]);
        return 2;
    }
    const double mainMs = MsSinceProcessStart();
    QApplication app(argc, argv);
    const double qtMs = MsSinceProcessStart();
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return 1;
    const double gstMs = MsSinceProcessStart();
    SkinSet skin;
    MediaGraph graph;
    SubtitleStyle style("./velmo_bench_none.ini");
    QWidget window;
    window.resize(1280, 720);
    auto *screen = new VideoScreen(skin, style, &window);
    QObject::connect(screen, &VideoScreen::AreaChanged, screen,
                     [&graph](const QRect &r) { graph.SetVideoRect(r.x(), r.y(), r.width(), r.height()); });
    screen->setGeometry(0, 0, 1280, 720);
    window.show();
    Watcher watcher(screen, &graph);
    watcher.firstFrameOnly = argc > 2 && std::string(argv[2]) == "--first-frame";
    screen->installEventFilter(&watcher);
    window.installEventFilter(&watcher);

    watcher.clock.start();
    double openMs = -1;
    const HResult begun = graph.BeginOpen(screen, argv[1], &window, [&](HResult result) {
        openMs = MsSinceProcessStart();
        if (Failed(result)) {
            std::fprintf(stderr, "cannot open %s: 0x%08x\n", argv[1], static_cast<unsigned>(result));
            QApplication::exit(1);
            return;
        }
        screen->SetMedium(true, graph.videoWidth > 0);
        graph.SetVideoRect(0, 0, screen->width(), screen->height());
    });
    if (Failed(begun) || app.exec() != 0)
        return 1;
    const double wall = watcher.clock.nsecsElapsed() / 1e9;
    graph.Close();
    std::printf("first_frame_ms=%.1f start_to_frame_ms=%.1f cpu_s=%.3f wall_s=%.3f\n", watcher.firstFrameMs,
                watcher.startToFrameMs, CpuSeconds(), wall);
    if (watcher.firstFrameOnly)
        std::printf("  main_ms=%.1f qt_ms=%.1f gst_ms=%.1f open_ms=%.1f\n", mainMs, qtMs, gstMs, openMs);
    return 0;
}
