// The caption and the message on a screen of twice the pixels
// (QT_SCALE_FACTOR=2, set by this binary's own main before Qt starts): their
// glyphs must be made at the device's resolution, not drawn at the screen's
// coordinates and doubled.

#include "screen/ScreenFixture.h"
#include "subtitles/SubtitleOverlay.h"

#include <QApplication>
#include <QImage>

#include <gtest/gtest.h>

using namespace velmo;

namespace {

// The 2x2 blocks of device pixels (one coordinate unit each) inside `units`
// whose four pixels are not all alike: a layer drawn at the coordinates and
// doubled has none.
int SplitUnits(const QImage &shown, const QRect &units)
{
    int split = 0;
    for (int y = units.top(); y <= units.bottom(); ++y) {
        for (int x = units.left(); x <= units.right(); ++x) {
            const QRgb first = shown.pixel(2 * x, 2 * y);
            split += shown.pixel(2 * x + 1, 2 * y) != first || shown.pixel(2 * x, 2 * y + 1) != first ||
                     shown.pixel(2 * x + 1, 2 * y + 1) != first;
        }
    }
    return split;
}

// How many device pixels inside `units` are light.
int Light(const QImage &shown, const QRect &units)
{
    int light = 0;
    for (int y = 2 * units.top(); y < 2 * (units.bottom() + 1); ++y)
        for (int x = 2 * units.left(); x < 2 * (units.right() + 1); ++x)
            light += qGray(shown.pixel(x, y)) > 128;
    return light;
}

class HiDpiScreenTest : public ::testing::Test, protected test::ScreenOnFakeGraph {
protected:
    HiDpiScreenTest() : ScreenOnFakeGraph(/*painted*/ true)
    {
        window.resize(320, 200);
        screen->setGeometry(0, 0, 320, 200);
        window.show();
        style.Color = 0x00FFFFFF;
        style.Position = 10;
        backend->AddMedia("film.avi");
    }
    QImage Shown() const
    {
        const QImage shown = screen->grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.size(), QSize(640, 400));
        return shown;
    }
};

TEST_F(HiDpiScreenTest, CaptionAndMessageAreDrawnAtDevicePixels)
{
    ASSERT_EQ(screen->devicePixelRatioF(), 2.0);
    ASSERT_EQ(Open("film.avi"), S_OK);
    screen->DrawSubtitle(ShownCaption(QStringLiteral("Sharp 자막")));
    ASSERT_TRUE(screen->HasSubtitleLayer());
    const QRect caption = screen->SubtitleRect();
    EXPECT_GT(caption.top(), 100) << "near the bottom, in the screen's coordinates";
    EXPECT_LT(caption.bottom(), 200);
    EXPECT_GT(SplitUnits(Shown(), caption), 20);

    screen->ShowMessage(QStringLiteral("자막 싱크 -0.5초"));
    const QRect topLeft(0, 0, 160, caption.top() - 1);
    const QImage shown = Shown();
    EXPECT_GT(Light(shown, topLeft), 20);
    EXPECT_GT(SplitUnits(shown, topLeft), 20);
    EXPECT_GT(SplitUnits(shown, caption), 20) << "the caption stays beside the message";
}

// At any ratio the caption is laid out as at 1, only finer: its drawn area,
// brought back to the screen's coordinates, is where it is at 1.
TEST(HiDpiLayer, TheCaptionKeepsItsPlaceAtEveryRatio)
{
    test::TempDir dir;
    SubtitleStyle style(dir.path("none.ini"));
    style.Position = 20;
    const QSize screen(400, 300);
    const QString text = QStringLiteral("Two lines\r\n둘째 줄");
    QRect atOne;
    DrawSubtitleLayer(screen, text, style, &atOne, 1);
    ASSERT_FALSE(atOne.isEmpty());
    for (const qreal ratio : {1.25, 1.5, 2.0}) {
        SCOPED_TRACE(ratio);
        QRect drawn;
        const QImage layer = DrawSubtitleLayer(screen, text, style, &drawn, ratio);
        EXPECT_EQ(layer.size(), screen * ratio);
        EXPECT_EQ(layer.devicePixelRatio(), ratio);
        const QRectF back(QPointF(drawn.topLeft()) / ratio, QSizeF(drawn.size()) / ratio);
        EXPECT_NEAR(back.left(), atOne.left(), 2);
        EXPECT_NEAR(back.top(), atOne.top(), 2);
        EXPECT_NEAR(back.right(), atOne.right(), 2);
        EXPECT_NEAR(back.bottom(), atOne.bottom(), 2);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before the application exists: the screens take their ratio from it.
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    InstallKoreanFontSubstitutes();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
