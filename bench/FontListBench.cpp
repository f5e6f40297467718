// Costs of the font list of the subtitle settings dialog: listing the
// installed faces, opening the dialog (which fills the list) and measuring
// every entry before the list first drops down, for the faces of this
// machine and for a list of a few hundred entries.

#include "subtitles/FontFaces.h"
#include "subtitles/FontListCombo.h"
#include "subtitles/SubtitleSettingsDialog.h"
#include "subtitles/SubtitleStyle.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

using namespace velmo;

namespace {

// The installed faces repeated until there are `count` entries.
std::vector<FontFace> manyFaces(size_t count)
{
    const std::vector<FontFace> installed = EnumerateFontFaces();
    std::vector<FontFace> faces;
    for (size_t i = 0; !installed.empty() && faces.size() < count; ++i)
        faces.push_back(installed[i % installed.size()]);
    return faces;
}

void BM_EnumerateFontFaces(benchmark::State &state)
{
    size_t count = 0;
    for (auto _ : state) {
        const std::vector<FontFace> faces = EnumerateFontFaces();
        count = faces.size();
        benchmark::DoNotOptimize(faces.data());
    }
    state.counters["faces"] = double(count);
}
BENCHMARK(BM_EnumerateFontFaces)->Unit(benchmark::kMillisecond);

// First in the run, once: every face's font is loaded for the first time.
void BM_MeasureEveryEntry_ColdInstalled(benchmark::State &state)
{
    FontListCombo combo;
    combo.Fill();
    for (auto _ : state) {
        for (int i = 0; i < combo.count(); ++i)
            benchmark::DoNotOptimize(combo.MeasureEntry(i));
    }
    state.counters["entries"] = double(combo.count());
}
BENCHMARK(BM_MeasureEveryEntry_ColdInstalled)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_OpenSettingsDialog(benchmark::State &state)
{
    SubtitleStyle style("/nonexistent/velmo_init.ini");
    for (auto _ : state) {
        SubtitleSettingsDialog dialog(style);
        benchmark::DoNotOptimize(&dialog);
    }
}
BENCHMARK(BM_OpenSettingsDialog)->Unit(benchmark::kMillisecond);

void BM_FillFontList(benchmark::State &state)
{
    const std::vector<FontFace> faces = manyFaces(size_t(state.range(0)));
    FontListCombo combo;
    for (auto _ : state)
        combo.Fill(faces);
    state.counters["entries"] = double(faces.size());
}
BENCHMARK(BM_FillFontList)->Arg(300)->Unit(benchmark::kMillisecond);

// What the first drop-down adds, with the faces' fonts already loaded.
void BM_MeasureEveryEntry_Warm(benchmark::State &state)
{
    FontListCombo combo;
    combo.Fill(manyFaces(size_t(state.range(0))));
    for (auto _ : state) {
        for (int i = 0; i < combo.count(); ++i)
            benchmark::DoNotOptimize(combo.MeasureEntry(i));
    }
    state.counters["entries"] = double(combo.count());
}
BENCHMARK(BM_MeasureEveryEntry_Warm)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    InstallKoreanFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
