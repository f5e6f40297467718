#include "subtitles/SubtitleOverlay.h"

#include "subtitles/CaptionText.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace velmo;

namespace {

const QSize kScreen(320, 160);
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kCyan = 0xFF00FFFF;
constexpr QRgb kGreen = 0xFF00FF00;

// Crisp text (one colour per pixel), red, with a green outline, markup on.
std::unique_ptr<SubtitleStyle> markupStyle()
{
    auto style = std::make_unique<SubtitleStyle>("/nonexistent/velmo_init.ini");
    style->font = MakeSubtitleFont(24, 400, 0, "NanumGothic");
    style->Color = 0x0000FF;
    style->Outline = 0x00FF00;
    style->Outline_Use = true;
    style->Position = 20;
    return style;
}

/// The caption of `raw` as the player hands it over with its looks on (or off).
ShownCaption caption(const char *raw, bool markup = true)
{
    const QString text = QString::fromUtf8(raw);
    return {CleanCaption(text), markup ? text : QString()};
}

QImage draw(const SubtitleStyle &style, const char *raw)
{
    return DrawSubtitleLayer(kScreen, caption(raw), style);
}

// Where pixels of one colour lie.
QRect boundsOf(const QImage &image, QRgb colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == colour)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

TEST(StyledCaption, WithoutLooksToShowThePlainDrawingStands)
{
    const auto style = markupStyle();
    const QImage plain = DrawSubtitleLayer(kScreen, ShownCaption{QStringLiteral("Hi there"), {}}, *style);
    ASSERT_FALSE(plain.isNull());
    const struct {
        bool on;
        const char *raw;
    } cases[] = {
        {false, "<P><font color=cyan>Hi</font> <b>there</b>"},
        {true, "<P><span>Hi</span> there<font color=nonsense>"},
        {true, "<P>Hi there"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(DrawSubtitleLayer(kScreen, caption(c.raw, c.on), *style), plain) << c.raw;
    // Markup of another caption than the text drawn is not used.
    const ShownCaption other{QStringLiteral("Hi there"), QStringLiteral("<P><font color=cyan>Other</font>")};
    EXPECT_EQ(DrawSubtitleLayer(kScreen, other, *style), plain);
}

TEST(StyledCaption, RunsTakeTheirColourOverTheStylesOutline)
{
    const auto style = markupStyle();
    const QImage layer = draw(*style, "<P><font color=\"#00FFFF\">AA</font>BB");
    const QRect cyan = boundsOf(layer, kCyan);
    const QRect red = boundsOf(layer, kRed);
    ASSERT_FALSE(cyan.isEmpty());
    ASSERT_FALSE(red.isEmpty());
    EXPECT_LT(cyan.right(), red.left());
    // The outline keeps the style's colour around both runs.
    const QRect green = boundsOf(layer, kGreen);
    EXPECT_LT(green.left(), cyan.left());
    EXPECT_GT(green.right(), red.right());
}

TEST(StyledCaption, WeightAndUnderlineChangeTheShape)
{
    const auto style = markupStyle();
    const QRect plain = boundsOf(draw(*style, "<P>WWW ace"), kRed);
    const QRect bold = boundsOf(draw(*style, "<P><b>WWW</b> ace"), kRed);
    EXPECT_GT(bold.width(), plain.width());
    const QRect underlined = boundsOf(draw(*style, "<P>WWW <u>ace</u>"), kRed);
    EXPECT_GT(underlined.bottom(), plain.bottom());
}

TEST(StyledCaption, ARubyReadingSitsSmallAboveItsBase)
{
    const auto style = markupStyle();
    const QRect plainBase = boundsOf(draw(*style, "<P>한글 text"), kRed);
    const QImage layer = draw(*style, "<P><ruby>한글<rt><font color=cyan>hangeul</font></rt></ruby> text");
    const QRect reading = boundsOf(layer, kCyan);
    const QRect base = boundsOf(layer, kRed);
    ASSERT_FALSE(reading.isEmpty());
    EXPECT_LT(reading.bottom(), base.top());
    EXPECT_LT(reading.height(), base.height());
    // The reading adds its height above: the base line ends where plain text would.
    EXPECT_EQ(base.bottom(), plainBase.bottom());
    EXPECT_LT(reading.right(), base.right()); // centred over "한글", not over the whole line
    EXPECT_GT(reading.left(), 0);
}

// Readings wider than their bases keep apart, each over its own base,
// wherever the bases stand on the line.
TEST(StyledCaption, WideReadingsDoNotRunIntoEachOther)
{
    const auto style = markupStyle();
    const char *const rubies =
        "<ruby><font color=#0000ff>대</font><rt><font color=#00ffff>daedae</font></rt></ruby>"
        "<ruby><font color=#ff00ff>삼</font><rt><font color=#ffffff>samsam</font></rt></ruby>"
        "<ruby><font color=#ffff00>각</font><rt><font color=#808080>gakgak</font></rt></ruby>";
    const std::string cases[] = {
        std::string("<P>") + rubies,
        std::string("<P>앞 ") + rubies + " 뒤",
        std::string("<P>x") + rubies + "x",
    };
    const QRgb bases[] = {0xFF0000FF, 0xFFFF00FF, 0xFFFFFF00};
    const QRgb readings[] = {kCyan, 0xFFFFFFFF, 0xFF808080};
    for (const std::string &raw : cases) {
        SCOPED_TRACE(raw);
        const QImage layer = draw(*style, raw.c_str());
        QRect last;
        for (int i = 0; i < 3; ++i) {
            const QRect base = boundsOf(layer, bases[i]);
            const QRect reading = boundsOf(layer, readings[i]);
            ASSERT_FALSE(base.isEmpty() || reading.isEmpty()) << i;
            EXPECT_LT(reading.bottom(), base.top()) << i;
            EXPECT_NEAR(reading.center().x(), base.center().x(), 2) << i;
            if (i > 0) {
                EXPECT_LT(last.right() + 1, reading.left()) << i << ": touches the reading before it";
            }
            last = reading;
        }
    }
}

TEST(StyledCaption, ATallCaptionOnASmallPictureStaysInside)
{
    const auto style = markupStyle();
    const QSize small(120, 60);
    QRect drawn;
    const QImage layer =
        DrawSubtitleLayer(small, caption("<P><ruby>A<rt>a</rt></ruby><br><b>B</b><br>C<br><i>D</i><br>E<br>F"), *style, &drawn);
    ASSERT_FALSE(layer.isNull());
    const QRect red = boundsOf(layer, kRed);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.top(), 0);
    EXPECT_LE(red.bottom(), small.height() - 1 - style->Position);
    EXPECT_TRUE(drawn.contains(red));
}
