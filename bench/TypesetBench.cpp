// The caption path's cost per frame at 1080p with a typeset ASS track
// (forty moving and fading signs, a karaoke line sung across the screen)
// against the same moment read plainly, as the switch off draws it.

#include "subtitles/SubtitleOverlay.h"
#include "subtitles/SubtitleStyle.h"
#include "subtitles/TimedTextReader.h"
#include "subtitles/TypesetTrack.h"

#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace velmo;

namespace {

constexpr int kSigns = 40;
constexpr int64_t kFrameMs = 40; // 25 pictures a second

// A 1080p script: every sign moves, turns and fades over ten seconds; the
// karaoke line's syllables fill one after another.
QByteArray TypesetScript()
{
    QByteArray script = "[Script Info]\nScriptType: v4.00+\nPlayResX: 1920\nPlayResY: 1080\nWrapStyle: 0\n\n"
                        "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
                        "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, "
                        "Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
                        "Style: Default,NanumGothic,64,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,1,0,0,0,100,100,0,0,"
                        "1,3,2,2,40,40,60,1\n"
                        "Style: Sign,NanumGothic,36,&H0000FFFF,&H000000FF,&H00202020,&H00000000,0,0,0,0,100,100,0,0,1,"
                        "2,0,7,0,0,0,1\n\n[Events]\n"
                        "Format: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    for (int i = 0; i < kSigns; ++i) {
        const int x = 40 + (i % 8) * 230;
        const int y = 40 + (i / 8) * 180;
        script += QByteArray("Dialogue: 1,0:00:00.00,0:00:10.00,Sign,,0,0,0,,{\\move(")
                  + QByteArray::number(x) + "," + QByteArray::number(y) + "," + QByteArray::number(x + 60) + ","
                  + QByteArray::number(y + 30) + ")\\fad(300,300)\\frz" + QByteArray::number(i % 30 - 15)
                  + "\\blur1}간판 " + QByteArray::number(i) + " SIGN\n";
    }
    script += "Dialogue: 0,0:00:00.00,0:00:10.00,Default,,0,0,0,,";
    for (int i = 0; i < 16; ++i)
        script += "{\\kf60}노래" + QByteArray::number(i) + " ";
    return script + "\n";
}

// Each frame as playback draws it: the layer for the frame's time (anew
// only when libass reports a change), then that layer over the picture.
void TypesetPerFrame(benchmark::State &state, int64_t stepMs)
{
    auto track = TypesetTrack::FromScript(TypesetScript());
    QImage frame(1920, 1080, QImage::Format_RGB32);
    frame.fill(QColor(30, 60, 90));
    TypesetLayer layer;
    int64_t ms = 1000;
    int64_t drawn = 0;
    for (auto _ : state) {
        drawn += track->Render(ms, frame.size(), &layer);
        QPainter painter(&frame);
        if (!layer.image.isNull())
            painter.drawImage(layer.at, layer.image);
        painter.end();
        benchmark::ClobberMemory();
        ms = ms + stepMs > 9000 ? 1000 : ms + stepMs;
    }
    state.counters["drawn_share"] = benchmark::Counter(double(drawn) / double(state.iterations()));
    state.counters["layer_px"] = double(layer.image.width()) * layer.image.height();
}

void BM_Typeset_1080p_Playing(benchmark::State &state)
{
    TypesetPerFrame(state, kFrameMs);
}
BENCHMARK(BM_Typeset_1080p_Playing)->Unit(benchmark::kMicrosecond);

void BM_Typeset_1080p_Paused(benchmark::State &state)
{
    TypesetPerFrame(state, 0);
}
BENCHMARK(BM_Typeset_1080p_Paused)->Unit(benchmark::kMicrosecond);

// The switch off: the same moment's plain caption drawn once per change in
// the user's look, then composited per frame as any caption is.
void BM_Plain_1080p_PerChange(benchmark::State &state)
{
    QTemporaryDir dir;
    QFile file(dir.path() + QStringLiteral("/bench.ass"));
    file.open(QIODevice::WriteOnly);
    file.write(TypesetScript());
    file.close();
    const SamiResult plain = ReadCaptionFile(file.fileName().toStdString());
    SubtitleStyle style((dir.path() + QStringLiteral("/velmo_init.ini")).toStdString());
    const ShownCaption caption(plain.ok ? plain.document.captions.front().text : QString());
    for (auto _ : state) {
        QRect area;
        QImage layer = DrawSubtitleLayer(QSize(1920, 1080), caption, style, &area);
        benchmark::DoNotOptimize(layer);
    }
}
BENCHMARK(BM_Plain_1080p_PerChange)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
