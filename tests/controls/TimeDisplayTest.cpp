// The time display offscreen: where its three background pieces land, the
// shadow's offset, and the size of its font.

#include "controls/TimeDisplay.h"
#include "ControlsTestUtil.h"
#include "skin/SkinSet.h"
#include "subtitles/SubtitleStyle.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

using namespace velmo;
using velmo::test::Bands;

namespace {

const QColor kLeft(0, 0, 255);
const QColor kRight(255, 255, 0);
const QColor kMiddle(0, 128, 0);
constexpr int kHeight = 16;

class TimeDisplayTest : public ::testing::Test {
protected:
    TimeDisplayTest()
    {
        InstallKoreanFontSubstitutes();
        test::LoadInto(time.leftCap, dir, "left.png", Bands(kHeight, {{6, kLeft}}));
        test::LoadInto(time.rightCap, dir, "right.png", Bands(10, {{8, kRight}}));
        // Only the first column is the middle; the rest must never show.
        test::LoadInto(time.back, dir, "back.png", Bands(kHeight, {{1, kMiddle}, {3, Qt::red}}));
        display = std::make_unique<TimeDisplay>(time);
        display->resize(120, kHeight);
        display->show();
    }
    QImage Grab() const { return display->grab().toImage(); }

    test::TempDir dir;
    SkinTimeImages time;
    std::unique_ptr<TimeDisplay> display;
};

TEST_F(TimeDisplayTest, CapsAtTheirOwnSizeAroundTheStretchedMiddle)
{
    display->SetText(QString());
    const QImage image = Grab();
    struct Case {
        int x, y;
        QColor colour;
    } cases[] = {
        {0, 0, kLeft},   {5, kHeight - 1, kLeft},   {6, 0, kMiddle},   {60, 8, kMiddle},
        {111, 0, kMiddle}, {112, 0, kRight},      {119, 9, kRight},  {119, 10, kMiddle},
    };
    for (const Case &c : cases)
        EXPECT_EQ(image.pixelColor(c.x, c.y), c.colour) << c.x << "," << c.y;
}

TEST_F(TimeDisplayTest, ShadowLiesTwoRightAndOneBelowTheText)
{
    const QColor background(kMiddle);
    time.textColor = 0x0000FF; // red
    time.shadowColor = 0x008000; // the middle's green: no visible shadow
    const QImage textOnly = Grab();
    time.shadowColor = 0xFFFFFF; // read again at the next paint
    const QImage both = Grab();

    int shadowPixels = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < 120; ++x) {
            const QColor seen = both.pixelColor(x, y);
            if (seen == Qt::red) {
                EXPECT_EQ(textOnly.pixelColor(x, y), Qt::red) << x << "," << y;
            } else if (seen == Qt::white) {
                ++shadowPixels;
                ASSERT_GE(x, 2);
                ASSERT_GE(y, 1);
                EXPECT_EQ(textOnly.pixelColor(x - 2, y - 1), Qt::red) << x << "," << y;
            } else if (x >= 6 && x < 112) {
                EXPECT_EQ(seen, background) << x << "," << y;
            }
        }
    }
    EXPECT_GT(shadowPixels, 20);
}

TEST_F(TimeDisplayTest, FontCellIsElevenPixelsOfBlackWeight)
{
    const QFont font = TimeDisplayFont();
    EXPECT_EQ(QFontMetrics(font).height(), 11);
    EXPECT_EQ(font.weight(), QFont::Black);
    EXPECT_EQ(display->text(), QString::fromUtf8("00:00:00 / 00:00:00"));
}

} // namespace
