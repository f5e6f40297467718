// Measures a switch of the sound track while the medium plays: how long
// after the switch the new stream's samples reach the sound path, and the
// longest time in which no samples arrived around it (the gap a listener
// may hear).
//
//   velmo_bench_sound_switch MEDIUM [SWITCHES]
//
// MEDIUM has two sound streams of different pitch (streams.mkv of the test
// fixtures: 440 Hz and 880 Hz). It plays 1 s, then switches SWITCHES times
// (default 6), 900 ms apart. Prints per switch "new_ms=<first samples of the
// new stream> gap_ms=<longest pause in the samples from 200 ms before to
// 700 ms after>", then the medians and maxima.

#include "engine/GstFilterGraph.h"
#include "engine/MediaGraph.h"

#include <gst/gst.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <mutex>
#include <vector>

using namespace velmo;

namespace {

/// When each buffer passed the volume element, and whether it was high-pitched.
struct Arrivals {
    std::mutex lock;
    QElapsedTimer clock;
    std::vector<std::pair<int64_t, bool>> buffers; // (µs since start, high pitch)
};

// GStreamer thread!
GstPadProbeReturn OnBuffer(GstPad *pad, GstPadProbeInfo *info, gpointer data)
{
    auto *arrivals = static_cast<Arrivals *>(data);
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    GstCaps *caps = gst_pad_get_current_caps(pad);
    GstMapInfo map;
    if (!caps || !buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        if (caps)
            gst_caps_unref(caps);
        return GST_PAD_PROBE_OK;
    }
    const GstStructure *s = gst_caps_get_structure(caps, 0);
    gint rate = 48000, channels = 1;
    gst_structure_get_int(s, "rate", &rate);
    gst_structure_get_int(s, "channels", &channels);
    const bool f32 = g_strcmp0(gst_structure_get_string(s, "format"), "F32LE") == 0;
    gst_caps_unref(caps);
    const size_t frames = map.size / (f32 ? 4 : 2) / size_t(std::max(channels, 1));
    int crossings = 0;
    double last = 0;
    for (size_t i = 0; i < frames; ++i) {
        const size_t at = i * size_t(channels);
        const double v = f32 ? reinterpret_cast<const float *>(map.data)[at] : reinterpret_cast<const int16_t *>(map.data)[at];
        crossings += (i > 0 && (v >= 0) != (last >= 0));
        last = v;
    }
    gst_buffer_unmap(buffer, &map);
    const double hz = frames ? crossings / 2.0 / (double(frames) / rate) : 0;
    std::lock_guard<std::mutex> hold(arrivals->lock);
    arrivals->buffers.emplace_back(arrivals->clock.nsecsElapsed() / 1000, hz > 660);
    return GST_PAD_PROBE_OK;
}

bool RunUntil(const std::function<bool()> &done, int timeoutMs = 10000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 2);
    return done();
}

void Idle(int ms)
{
    QElapsedTimer waited;
    waited.start();
    RunUntil([&] { return waited.elapsed() >= ms; }, ms + 1000);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s MEDIUM [SWITCHES]\n", argv[0]);
        return 2;
    }
    const int switches = argc > 2 ? std::atoi(argv[2]) : 6;
    QApplication app(argc, argv);
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return 1;
    MediaGraph graph;
    QWidget screen;
    screen.resize(320, 240);
    bool opened = false;
    HResult result = E_FAIL;
    if (Failed(graph.BeginOpen(&screen, argv[1], &screen, [&](HResult r) { opened = true, result = r; }))
        || !RunUntil([&] { return opened; }) || Failed(result) || !graph.audioStreams
        || graph.audioStreams->AudioStreams().size() < 2) {
        std::fprintf(stderr, "cannot open %s with two sound streams\n", argv[1]);
        return 1;
    }
    auto gst = std::dynamic_pointer_cast<GstFilterGraph>(graph.graph);
    GstElement *volume = gst_bin_get_by_name(GST_BIN(gst->Pipeline()), GstFilterGraph::kVolumeName);
    GstPad *pad = gst_element_get_static_pad(volume, "src");
    Arrivals arrivals;
    arrivals.clock.start();
    const gulong probe = gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, &OnBuffer, &arrivals, nullptr);
    Idle(1000);
    std::vector<double> newMs, gapMs;
    for (int i = 0; i < switches; ++i) {
        const int64_t at = arrivals.clock.nsecsElapsed() / 1000;
        const int32_t to = 1 - graph.audioStreams->CurrentAudioStream();
        graph.audioStreams->SetCurrentAudioStream(to);
        Idle(900);
        std::lock_guard<std::mutex> hold(arrivals.lock);
        double first = -1, gap = 0;
        int64_t previous = -1;
        for (const auto &[us, high] : arrivals.buffers) {
            if (us < at - 200'000 || us > at + 700'000)
                continue;
            if (previous >= 0)
                gap = std::max(gap, (us - previous) / 1000.0);
            previous = us;
            if (first < 0 && us >= at && high == (to == 1))
                first = (us - at) / 1000.0;
        }
        std::printf("switch %d to %d: new_ms=%.1f gap_ms=%.1f\n", i + 1, to, first, gap);
        newMs.push_back(first);
        gapMs.push_back(gap);
    }
    gst_pad_remove_probe(pad, probe);
    gst_object_unref(pad);
    gst_object_unref(volume);
    std::printf("new_ms median=%.1f max=%.1f; gap_ms median=%.1f max=%.1f\n", Median(newMs),
                *std::max_element(newMs.begin(), newMs.end()), Median(gapMs),
                *std::max_element(gapMs.begin(), gapMs.end()));
    graph.Close();
    return 0;
}
