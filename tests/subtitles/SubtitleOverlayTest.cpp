#include "subtitles/SubtitleOverlay.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

using namespace velmo;

namespace {

constexpr Colour kRed = 0x0000FF;
constexpr Colour kGreen = 0x00FF00;
constexpr Colour kBlue = 0xFF0000;
const QSize kScreen(240, 120);

// Crisp (not smoothed) text, so every drawn pixel has exactly one pass's colour.
std::unique_ptr<SubtitleStyle> crispStyle()
{
    auto style = std::make_unique<SubtitleStyle>("/nonexistent/velmo_init.ini");
    style->font = MakeSubtitleFont(20, 400, 0, "NanumGothic");
    style->Color = kRed;
    style->Outline = kGreen;
    style->Shadow = kBlue;
    style->Position = 20;
    return style;
}

QRgb opaque(Colour c)
{
    return qRgb(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Rows and columns that hold at least one visible pixel.
QRect inkBounds(const QImage &image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

using Offsets = std::vector<std::pair<int, int>>;

// What the passes should make of the text's own pixels: each pass paints the
// text's shape at its offsets in its colour, later passes over earlier ones.
QImage expectedLayer(const QImage &textOnly, const std::vector<std::pair<Colour, Offsets>> &passes)
{
    QImage out(textOnly.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    for (const auto &[colour, offsets] : passes)
        for (int y = 0; y < textOnly.height(); ++y)
            for (int x = 0; x < textOnly.width(); ++x)
                if (qAlpha(textOnly.pixel(x, y)) != 0)
                    for (const auto &[dx, dy] : offsets)
                        if (out.rect().contains(x + dx, y + dy))
                            out.setPixel(x + dx, y + dy, opaque(colour));
    return out;
}

int differingPixels(const QImage &a, const QImage &b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

const Offsets kText = {{0, 0}};
const Offsets kShadow = {{1, 0}, {0, 1}, {2, 0}, {0, 2}};
const Offsets kShadowDeep = {{3, 0}, {0, 3}, {4, 0}, {0, 4}};
const Offsets kOutline = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
const Offsets kOutlineDeep = {{-2, -2}, {2, -2}, {2, 2}, {-2, 2}};

} // namespace

TEST(SubtitleOverlay, BlankCaptionsDrawNothing)
{
    const auto style = crispStyle();
    style->Outline_Use = style->Shadow_Use = true;
    for (const char *text : {"", " ", "\r\n", "  \r\n "}) {
        QRect area(1, 1, 1, 1);
        EXPECT_TRUE(DrawSubtitleLayer(kScreen, QString::fromUtf8(text), *style, &area).isNull()) << '"' << text << '"';
        EXPECT_TRUE(area.isNull());
    }
    EXPECT_TRUE(DrawSubtitleLayer(QSize(0, 100), QStringLiteral("x"), *style).isNull());
}

TEST(SubtitleOverlay, ALayerOfTheScreenWithOnlyTheTextCovered)
{
    const auto style = crispStyle();
    style->Outline_Use = style->Shadow_Use = style->Outline_Deep = style->Shadow_Deep = true;
    QRect area;
    const QImage layer = DrawSubtitleLayer(kScreen, QStringLiteral("Hi there"), *style, &area);
    ASSERT_FALSE(layer.isNull());
    EXPECT_EQ(layer.size(), kScreen);
    EXPECT_EQ(layer.format(), QImage::Format_ARGB32_Premultiplied);
    const QRect ink = inkBounds(layer);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(area.contains(ink)) << "drawn area misses pixels";
    EXPECT_LT(area.width() * area.height(), kScreen.width() * kScreen.height() / 2);
    // Everything outside the text's rows stays fully transparent.
    EXPECT_EQ(qAlpha(layer.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(layer.pixel(kScreen.width() - 1, kScreen.height() - 1)), 0);
}

TEST(SubtitleOverlay, PassesPaintAtTheirOffsetsInOrder)
{
    const auto style = crispStyle();
    const QString text = QStringLiteral("Ag1");
    const QImage textOnly = DrawSubtitleLayer(kScreen, text, *style);
    ASSERT_FALSE(inkBounds(textOnly).isEmpty());

    struct Variant {
        const char *name;
        bool shadow, shadowDeep, outline, outlineDeep;
        std::vector<std::pair<Colour, Offsets>> passes;
    };
    const Variant variants[] = {
        {"shadow", true, false, false, false, {{kBlue, kShadow}, {kRed, kText}}},
        {"deep shadow", true, true, false, false, {{kBlue, kShadow}, {kBlue, kShadowDeep}, {kRed, kText}}},
        {"deep shadow without shadow", false, true, false, false, {{kRed, kText}}},
        {"outline", false, false, true, false, {{kGreen, kOutline}, {kRed, kText}}},
        {"deep outline", false, false, true, true, {{kGreen, kOutline}, {kGreen, kOutlineDeep}, {kRed, kText}}},
        {"deep outline without outline", false, false, false, true, {{kRed, kText}}},
        {"all",
         true,
         true,
         true,
         true,
         {{kBlue, kShadow}, {kBlue, kShadowDeep}, {kGreen, kOutline}, {kGreen, kOutlineDeep}, {kRed, kText}}},
    };
    for (const Variant &v : variants) {
        style->Shadow_Use = v.shadow;
        style->Shadow_Deep = v.shadowDeep;
        style->Outline_Use = v.outline;
        style->Outline_Deep = v.outlineDeep;
        const QImage layer = DrawSubtitleLayer(kScreen, text, *style);
        EXPECT_EQ(differingPixels(layer, expectedLayer(textOnly, v.passes)), 0) << v.name;
    }
}

TEST(SubtitleOverlay, TheLastLineEndsPositionPixelsAboveTheBottom)
{
    const auto style = crispStyle();
    const QFontMetrics metrics(*style->font);
    style->Position = 0;
    const QRect atBottom = inkBounds(DrawSubtitleLayer(kScreen, QStringLiteral("gyp"), *style));
    // Descenders reach into the last line's descent, which ends at the edge.
    EXPECT_GT(atBottom.bottom(), kScreen.height() - 1 - metrics.descent());
    EXPECT_LE(atBottom.bottom(), kScreen.height() - 1);

    style->Position = 100;
    const QSize tall(240, 300);
    const QRect low = inkBounds(DrawSubtitleLayer(tall, QStringLiteral("gyp"), *style));
    style->Position = 0;
    const QRect high = inkBounds(DrawSubtitleLayer(tall, QStringLiteral("gyp"), *style));
    EXPECT_EQ(high.translated(0, -100), low);
}

TEST(SubtitleOverlay, LinesStackUpwardsFromTheBottomAndAreCentred)
{
    const auto style = crispStyle();
    const int lineHeight = QFontMetrics(*style->font).height();
    const QImage one = DrawSubtitleLayer(kScreen, QStringLiteral("X"), *style);
    const QImage two = DrawSubtitleLayer(kScreen, QStringLiteral("X\r\nX"), *style);
    const QRect oneInk = inkBounds(one);
    const QRect twoInk = inkBounds(two);
    // The second line sits where a single line would; the first one line higher.
    EXPECT_EQ(twoInk.bottom(), oneInk.bottom());
    EXPECT_EQ(twoInk.top(), oneInk.top() - lineHeight);
    EXPECT_EQ(twoInk.left(), oneInk.left());
    EXPECT_NEAR(oneInk.center().x(), kScreen.width() / 2, 2);

    // Word wrap: a sentence too wide for the screen becomes several lines,
    // each within the screen's width.
    const QImage wrapped = DrawSubtitleLayer(kScreen, QStringLiteral("one two three four five six seven eight"), *style);
    const QRect wrappedInk = inkBounds(wrapped);
    EXPECT_LE(wrappedInk.top(), oneInk.top() - lineHeight);
    EXPECT_GT(wrappedInk.left(), 0);
    EXPECT_LT(wrappedInk.right(), kScreen.width() - 1);
}

TEST(SubtitleOverlay, AWordWiderThanTheScreenEndsWithAnEllipsis)
{
    const auto style = crispStyle();
    const QSize narrow(100, 60);
    const QImage layer = DrawSubtitleLayer(narrow, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), *style);
    const QRect ink = inkBounds(layer);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LT(ink.right(), narrow.width() - 1) << "the word was clipped, not shortened";
    EXPECT_GT(ink.left(), 0);
    // Right to left, the line ends in three small dots, each a run of columns
    // far lower than the letters; a clipped "W" would be one tall run.
    int x = ink.right();
    for (int dot = 0; dot < 3; ++dot) {
        QRect blob;
        for (; x >= ink.left(); --x) {
            QRect column;
            for (int y = ink.top(); y <= ink.bottom(); ++y)
                if (qAlpha(layer.pixel(x, y)) != 0)
                    column |= QRect(x, y, 1, 1);
            if (column.isEmpty() && !blob.isEmpty())
                break;
            blob |= column;
        }
        ASSERT_FALSE(blob.isEmpty()) << "dot " << dot;
        EXPECT_LE(blob.height(), ink.height() / 3) << "dot " << dot;
        EXPECT_LE(blob.width(), ink.height() / 3) << "dot " << dot;
    }
}

TEST(SubtitleOverlay, WithoutAFontQtsDefaultFontDraws)
{
    const auto style = crispStyle();
    style->font.reset();
    const QImage layer = DrawSubtitleLayer(kScreen, QString::fromUtf8("자막"), *style);
    ASSERT_FALSE(layer.isNull());
    EXPECT_FALSE(inkBounds(layer).isEmpty());
}

// The file may hold any 32-bit Position; a caption pushed off the screen
// draws nothing, and one that reaches into it draws only what is inside.
TEST(SubtitleOverlay, PositionsFarOffTheScreenDrawNothing)
{
    const auto style = crispStyle();
    style->Outline_Use = style->Shadow_Use = style->Outline_Deep = style->Shadow_Deep = true;
    for (const int32_t position : {std::numeric_limits<int32_t>::min(), -2000000000, -1000000, -kScreen.height(),
                                   kScreen.height() + 40, 1000000, 2000000000, std::numeric_limits<int32_t>::max()}) {
        style->Position = position;
        QRect area(1, 1, 1, 1);
        const QImage layer = DrawSubtitleLayer(kScreen, QStringLiteral("Hi there\r\nsecond"), *style, &area);
        EXPECT_TRUE(inkBounds(layer).isEmpty()) << position;
        EXPECT_TRUE(area.isNull()) << position;
    }
    // Half of the last line below the bottom edge: its top half still shows.
    style->Position = -QFontMetrics(*style->font).height() / 2;
    const QRect ink = inkBounds(DrawSubtitleLayer(kScreen, QStringLiteral("Hi"), *style));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(ink.bottom(), kScreen.height() - 1);
}

// The picture of the smallest window the default skin allows (300 x 250 less
// the title bar, the control panel and the side edges).
TEST(SubtitleOverlay, ACaptionTooTallForThePictureStaysInsideIt)
{
    const QSize smallest(294, 168);
    const auto style = crispStyle();
    style->font = MakeSubtitleFont(36, 700, 0, "NanumGothic");
    style->Position = 42; // room for three and a half lines of the font asked for
    const QString caption = QString::fromUtf8("그 사람이 어디로 갔는지 아무도 모른다고 했어\r\n"
                                              "내일 아침까지 기다려 보면 알게 될 거야");
    const QRect ink = inkBounds(DrawSubtitleLayer(smallest, caption, *style));
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GT(ink.top(), 0); // nothing cut at the picture's top edge
    EXPECT_LE(ink.bottom(), smallest.height() - 1 - style->Position);
    EXPECT_GT(ink.height(), 3 * 10); // drawn smaller, not dropped: several lines remain

    // Room for one line of the smallest height only: the last line is the one kept.
    style->font = MakeSubtitleFont(20, 400, 0, "NanumGothic");
    style->Position = smallest.height() - 10;
    EXPECT_EQ(DrawSubtitleLayer(smallest, QStringLiteral("first\r\nlast"), *style),
              DrawSubtitleLayer(smallest, QStringLiteral("last"), *style));
}
