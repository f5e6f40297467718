// Costs of the subtitle path: reading a large SAMI file, drawing a caption
// layer, and compositing a cached layer onto a video frame.

#include "text/Cp949.h"
#include "subtitles/SamiReader.h"
#include "subtitles/SubtitleOverlay.h"
#include "tests/support/HostileSami.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

using namespace velmo;

namespace {

// A bilingual file as real ones are laid out: every Korean SYNC first, then
// every English one from the start again. `syncs` counts both languages.
QString largeSami(int syncs)
{
    QString text = QString::fromUtf8("<SAMI>\n<HEAD>\n<TITLE>bench</TITLE>\n<STYLE TYPE=\"text/css\">\n<!--\n"
                                     "P { margin-left:8pt; margin-right:8pt; font-size:20pt; }\n"
                                     ".KRCC { Name:한국어; lang:ko-KR; SAMIType:CC; }\n"
                                     ".ENCC { Name:English; lang:en-US; SAMIType:CC; }\n"
                                     "-->\n</STYLE>\n</HEAD>\n<BODY>\n");
    const int half = syncs / 2;
    for (int i = 0; i < half; ++i)
        text += QString::fromUtf8("<SYNC Start=%1><P Class=KRCC><font color=\"#ffff00\">%2번째 자막입니다, 똠방각하</font><br>\n"
                                  "두 번째 줄은 조금 더 길게 씁니다 %2\n")
                    .arg(i * 2000 + 500)
                    .arg(i);
    for (int i = 0; i < syncs - half; ++i)
        text += QStringLiteral("<SYNC Start=%1><P Class=ENCC>Caption number %2<br>\nand its second line\n")
                    .arg(i * 2000 + 500)
                    .arg(i);
    return text + QStringLiteral("</BODY>\n</SAMI>\n");
}

void readLargeFile(benchmark::State &state, const QByteArray &bytes, size_t expectedCaptions = 5000)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/large.smi");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        state.SkipWithError("cannot write the file");
        return;
    }
    file.close();
    for (auto _ : state) {
        const SamiResult result = ReadSamiFile(path.toStdString());
        if (!result.ok || result.document.captions.size() != expectedCaptions)
            state.SkipWithError("unexpected result");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
    state.counters["file_bytes"] = double(bytes.size());
}

void BM_ReadSami_Cp949(benchmark::State &state)
{
    readLargeFile(state, toCp949(largeSami(10000)));
}
BENCHMARK(BM_ReadSami_Cp949)->Unit(benchmark::kMillisecond);

void BM_ReadSami_Utf16(benchmark::State &state)
{
    QStringEncoder encoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    readLargeFile(state, encoder.encode(largeSami(10000)));
}
BENCHMARK(BM_ReadSami_Utf16)->Unit(benchmark::kMillisecond);

void BM_ReadSami_Utf8(benchmark::State &state)
{
    readLargeFile(state, largeSami(10000).toUtf8());
}
BENCHMARK(BM_ReadSami_Utf8)->Unit(benchmark::kMillisecond);

// Files made to defeat a reader that rescans the text (see HostileSami.h).
void BM_ReadSami_UnclosedComments(benchmark::State &state)
{
    readLargeFile(state, test::UnclosedCommentsSami(test::kUnclosedComments), 1);
}
BENCHMARK(BM_ReadSami_UnclosedComments)->Unit(benchmark::kMillisecond);

void BM_ReadSami_ManyClasses(benchmark::State &state)
{
    readLargeFile(state, test::ManyClassesSami(test::kStyleClasses), 1);
}
BENCHMARK(BM_ReadSami_ManyClasses)->Unit(benchmark::kMillisecond);

void BM_ReadSami_LinesEndingInGt(benchmark::State &state)
{
    readLargeFile(state, test::LinesEndingInGtSami(test::kLinesEndingInGt), 1);
}
BENCHMARK(BM_ReadSami_LinesEndingInGt)->Unit(benchmark::kMillisecond);

void BM_ReadSami_SharedDeclarations(benchmark::State &state)
{
    readLargeFile(state, test::SharedDeclarationSami(test::kSharedSelectors), 1);
}
BENCHMARK(BM_ReadSami_SharedDeclarations)->Unit(benchmark::kMillisecond);

std::unique_ptr<SubtitleStyle> fullStyle()
{
    auto style = std::make_unique<SubtitleStyle>("/nonexistent/velmo_init.ini");
    style->Size = 40;
    style->Style = 700;
    style->Font = "NanumGothic";
    style->fontQuality = 4;
    style->RebuildFont();
    style->Color = 0x00FFFF;
    style->Outline = 0x000000;
    style->Shadow = 0x303030;
    style->Outline_Use = style->Outline_Deep = style->Shadow_Use = style->Shadow_Deep = true;
    style->Position = 40;
    return style;
}

const QString &twoLineCaption()
{
    static const QString text = QString::fromUtf8("그는 아무 말 없이 창밖을 바라보았다\r\nHe looked out of the window in silence");
    return text;
}

void BM_DrawSubtitleLayer_1080p_AllPasses(benchmark::State &state)
{
    const auto style = fullStyle();
    for (auto _ : state) {
        QImage layer = DrawSubtitleLayer(QSize(1920, 1080), ShownCaption{twoLineCaption(), {}}, *style);
        benchmark::DoNotOptimize(layer);
    }
}
BENCHMARK(BM_DrawSubtitleLayer_1080p_AllPasses)->Unit(benchmark::kMicrosecond);

// Per frame: the cached layer over a decoded frame, whole or only the part
// that holds the caption.
void compositeCached(benchmark::State &state, bool wholeLayer)
{
    const auto style = fullStyle();
    QRect area;
    const QImage layer = DrawSubtitleLayer(QSize(1920, 1080), ShownCaption{twoLineCaption(), {}}, *style, &area);
    QImage frame(1920, 1080, QImage::Format_RGB32);
    frame.fill(QColor(30, 60, 90));
    for (auto _ : state) {
        QPainter painter(&frame);
        if (wholeLayer)
            painter.drawImage(0, 0, layer);
        else
            painter.drawImage(area.topLeft(), layer, area);
        painter.end();
        benchmark::ClobberMemory();
    }
    state.counters["area_px"] = double(wholeLayer ? 1920 * 1080 : area.width() * area.height());
}

void BM_CompositeCachedLayer_1080p_Whole(benchmark::State &state)
{
    compositeCached(state, true);
}
BENCHMARK(BM_CompositeCachedLayer_1080p_Whole)->Unit(benchmark::kMicrosecond);

void BM_CompositeCachedLayer_1080p_DrawnArea(benchmark::State &state)
{
    compositeCached(state, false);
}
BENCHMARK(BM_CompositeCachedLayer_1080p_DrawnArea)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    InstallKoreanFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
