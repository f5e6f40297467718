// Typeset captions as libass draws them for us: where a sign stands, how
// karaoke and fades move, the fonts a track is given, and what hostile
// scripts cost.

#include "subtitles/TypesetTrack.h"

#include <QFile>

#include <gtest/gtest.h>

namespace velmo {
namespace {

// A 640x360 script: white text, red before its karaoke syllable is sung.
QByteArray Script(const QByteArray &events, const char *font = "NanumGothic")
{
    return QByteArray("[Script Info]\nScriptType: v4.00+\nPlayResX: 640\nPlayResY: 360\n\n[V4+ Styles]\n"
                      "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
                      "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
                      "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n"
                      "Style: Default,")
           + font
           + ",40,&H00FFFFFF,&H000000FF,&H00000000,&H00000000,0,0,0,0,100,100,0,0,1,0,0,2,10,10,20,1\n\n"
             "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
           + events;
}

QByteArray Dialogue(const char *text, const char *start = "0:00:00.00", const char *end = "0:00:10.00")
{
    return QByteArray("Dialogue: 0,") + start + "," + end + ",Default,,0,0,0,," + text + "\n";
}

TypesetLayer RenderAt(TypesetTrack &track, int64_t ms, QSize size = {640, 360})
{
    TypesetLayer layer;
    track.Invalidate();
    EXPECT_TRUE(track.Render(ms, size, &layer));
    return layer;
}

// The layer's pixels whose colour is mostly red, and those mostly white.
struct Colours {
    int red = 0;
    int white = 0;
};
Colours CountColours(const QImage &image)
{
    Colours c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 200)
                continue;
            c.red += qRed(p) > 200 && qGreen(p) < 60 && qBlue(p) < 60;
            c.white += qRed(p) > 200 && qGreen(p) > 200 && qBlue(p) > 200;
        }
    return c;
}

TEST(TypesetTrack, ASignStandsAtItsPositionScaledWithThePicture)
{
    auto track = TypesetTrack::FromScript(Script(Dialogue("{\\an9\\pos(630,10)}SIGN")));
    ASSERT_TRUE(track);
    // The script's 640x360 drawn at its own size and at twice it.
    for (const int scale : {1, 2}) {
        const TypesetLayer layer = RenderAt(*track, 1000, QSize(640, 360) * scale);
        ASSERT_FALSE(layer.image.isNull());
        const QRect drawn(layer.at, layer.image.size());
        // The glyphs' box: its right edge at \pos's x (give or take the
        // antialiasing), its top a little under \pos's y (the face's ascent).
        EXPECT_NEAR(drawn.right(), 630 * scale, 10 * scale);
        EXPECT_GE(drawn.top(), 10 * scale);
        EXPECT_LE(drawn.top(), 30 * scale);
        EXPECT_GT(drawn.left(), 400 * scale);
    }
}

TEST(TypesetTrack, KaraokeTurnsItsSyllablesAsTheyAreSungAndFadesGrow)
{
    auto track = TypesetTrack::FromScript(Script(Dialogue("{\\k100}AAAA{\\k100}BBBB")
                                                 + Dialogue("{\\an8\\fad(1000,0)}FADE", "0:00:00.00", "0:00:10.00")));
    ASSERT_TRUE(track);
    const Colours early = CountColours(RenderAt(*track, 500).image);   // first syllable sung
    const Colours late = CountColours(RenderAt(*track, 2500).image);   // both sung
    EXPECT_GT(early.red, 100) << "the second syllable waits in its colour";
    EXPECT_EQ(late.red, 0);
    EXPECT_GT(late.white, early.white);

    // The fading sign: fainter at 100 ms than at 1500 ms.
    const auto topAlpha = [&](int64_t ms) {
        const TypesetLayer layer = RenderAt(*track, ms);
        int most = 0;
        for (int y = 0; y < layer.image.height() && layer.at.y() + y < 100; ++y)
            for (int x = 0; x < layer.image.width(); ++x)
                most = std::max(most, qAlpha(layer.image.pixel(x, y)));
        return most;
    };
    EXPECT_LT(topAlpha(100), 60);
    EXPECT_GT(topAlpha(1500), 200);
}

TEST(TypesetTrack, DrawsOnlyWhatChangedAndHangulWithoutItsFont)
{
    auto track = TypesetTrack::FromScript(Script(Dialogue("가", "0:00:00.00", "0:00:01.00")
                                                 + Dialogue("나", "0:00:01.00", "0:00:02.00"), "NoSuchFace"));
    ASSERT_TRUE(track);
    TypesetLayer layer;
    ASSERT_TRUE(track->Render(500, {640, 360}, &layer));
    const QImage ga = layer.image;
    EXPECT_FALSE(track->Render(600, {640, 360}, &layer)) << "the same caption";
    EXPECT_TRUE(track->Render(600, {320, 180}, &layer)) << "another size";
    ASSERT_TRUE(track->Render(1500, {640, 360}, &layer));
    // A face without Hangul would draw both as the same empty box.
    EXPECT_FALSE(ga.isNull());
    EXPECT_NE(ga, layer.image);
    ASSERT_TRUE(track->Render(2500, {640, 360}, &layer));
    EXPECT_TRUE(layer.image.isNull()) << "nothing after the last event";
}

TEST(TypesetTrack, AnEmbeddedStreamKeepsEachEventOnceFromItsHeader)
{
    const QByteArray script = Script("");
    const QByteArray header = script.left(script.indexOf("[Events]") + 8) + "\nFormat: Layer, Start, End, Style, "
                                                                            "Name, MarginL, MarginR, MarginV, Effect, Text\n";
    auto track = TypesetTrack::FromHeader(header);
    ASSERT_TRUE(track);
    track->AddEvent("1,0,Default,,0,0,0,,{\\an9\\pos(630,10)}SIGN", 2000, 1000);
    track->AddEvent("1,0,Default,,0,0,0,,{\\an9\\pos(630,10)}SIGN", 2000, 1000); // again after a seek
    track->AddEvent("2,0,Default,,0,0,0,,", 4000, 0);                          // no length: none
    EXPECT_EQ(track->EventCount(), 1);
    EXPECT_TRUE(RenderAt(*track, 1000).image.isNull());
    const TypesetLayer layer = RenderAt(*track, 2500);
    ASSERT_FALSE(layer.image.isNull());
    EXPECT_GT(layer.at.x(), 400);
}

TEST(TypesetTrack, TakesFontsOnlyWhenTheyAreFonts)
{
    auto track = TypesetTrack::FromScript(Script(Dialogue("x")));
    ASSERT_TRUE(track);
    QFile font(QStringLiteral("/usr/share/fonts/truetype/nanum/NanumGothic.ttf"));
    ASSERT_TRUE(font.open(QIODevice::ReadOnly)) << "fonts-nanum is a dependency";
    const struct {
        QByteArray data;
        bool taken;
    } cases[] = {
        {font.readAll(), true},
        {QByteArray("not a font at all, only words"), false},
        {QByteArray("\x00\x01\x00\x00", 4), false}, // a font's start and nothing else
        {QByteArray(), false},
    };
    int taken = 0;
    for (const auto &c : cases) {
        EXPECT_EQ(track->AddFont("attached.ttf", c.data), c.taken) << c.data.left(16).toStdString();
        taken += c.taken;
    }
    EXPECT_EQ(track->FontCount(), taken);
    EXPECT_FALSE(RenderAt(*track, 1000).image.isNull()) << "a track given a non-font still draws";
}

TEST(TypesetTrack, HostileScriptsStayCheap)
{
    // One event of 1 MB, left out; 100,000 events, all kept.
    const QByteArray huge = Dialogue(QByteArray(1024 * 1024, 'W').constData());
    QByteArray many;
    for (int i = 0; i < 100000; ++i) {
        const QByteArray at = QByteArray::number(i / 60000) + ":" + QByteArray::number((i / 1000) % 60).rightJustified(2, '0')
                              + ":" + QByteArray::number(i % 1000 / 10).rightJustified(2, '0') + ".00";
        many += Dialogue("{\\pos(320,180)}many", at.constData(), "9:00:00.00");
    }
    auto track = TypesetTrack::FromScript(Script(huge + Dialogue("ok")));
    ASSERT_TRUE(track);
    EXPECT_EQ(track->EventCount(), 1);
    EXPECT_FALSE(RenderAt(*track, 1000).image.isNull());
    track->AddEvent("9,0,Default,,0,0,0,," + QByteArray(1024 * 1024, 'W'), 0, 5000);
    EXPECT_EQ(track->EventCount(), 1);

    auto crowded = TypesetTrack::FromScript(Script(many));
    ASSERT_TRUE(crowded);
    EXPECT_EQ(crowded->EventCount(), 100000);
}

} // namespace
} // namespace velmo
