// Times the scaler's conversion of one 1080p I420 frame to BGRx, upright and
// turned as a tagged clip's frames are (a quarter turn, a half turn, a mirror):
// at the frame's own size, and at the 720-pixel height of a window.
//
//   velmo_bench_turn [--benchmark_...]

#include "engine/FrameScaler.h"
#include "engine/GstHandles.h"

#include <gst/app/gstappsink.h>

#include <benchmark/benchmark.h>

using namespace velmo;

namespace {

GstSamplePtr Frame1080()
{
    GstElementPtr pipeline(gst_parse_launch("videotestsrc num-buffers=1 pattern=smpte ! "
                                            "video/x-raw,format=I420,width=1920,height=1080 ! appsink name=out",
                                            nullptr));
    GstElementPtr sink(gst_bin_get_by_name(GST_BIN(pipeline.get()), "out"));
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    GstSamplePtr sample(gst_app_sink_pull_sample(GST_APP_SINK(sink.get())));
    gst_element_set_state(pipeline.get(), GST_STATE_NULL);
    return sample;
}

/// Arguments: the orientation (0-3 quarter turns, 4 mirrored) and the height
/// the picture is shown at (0: its own size).
void BM_Convert1080(benchmark::State &state)
{
    static const GstSamplePtr sample = Frame1080();
    GstVideoInfo info;
    gst_video_info_from_caps(&info, gst_sample_get_caps(sample.get()));
    const Orientation turn(int(state.range(0) % 4), state.range(0) >= 4);
    const QSize upright = turn.Turned(QSize(1920, 1080));
    const int height = int(state.range(1));
    const QSize shown = height ? QSize(upright.width() * height / upright.height(), height) : upright;
    FrameScaler scaler;
    for (auto _ : state) {
        QImage image = scaler.Convert(info, gst_sample_get_buffer(sample.get()), shown, nullptr, turn);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(shown.width()) + "x" + std::to_string(shown.height()));
}
BENCHMARK(BM_Convert1080)
    ->ArgsProduct({{0, 1, 2, 4}, {0}})
    ->Args({0, 720})
    ->Args({1, 720})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    gst_init(&argc, &argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
