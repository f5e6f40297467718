// The bitmap button on a coloured panel, offscreen: which frame shows after
// each pointer sequence, the frame width, and magenta letting the panel through.

#include "controls/BitmapButton.h"
#include "ControlsTestUtil.h"
#include "skin/SkinSet.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

using namespace velmo;
using velmo::test::Bands;

namespace {

const QColor kPanel(0x20, 0x40, 0x60);
const QColor kMagenta(255, 0, 255);
const QColor kFrames[3] = {QColor(200, 0, 0), QColor(0, 200, 0), QColor(0, 0, 200)};
constexpr int kStripHeight = 4;

class BitmapButtonTest : public ::testing::Test {
protected:
    BitmapButtonTest()
    {
        test::PaintAsPanel(panel, kPanel, QSize(60, 20));
        button = new BitmapButton(&panel);
        button->setGeometry(0, 0, 20, 6); // wider and taller than one frame
        button->show();
    }

    /// Three frames of `frameWidth` plus `spare` columns nobody should see;
    /// pixel (1, 1) of every frame is magenta.
    void UseStrip(int frameWidth, int spare = 0)
    {
        QImage strip = Bands(kStripHeight, {{frameWidth, kFrames[0]}, {frameWidth, kFrames[1]},
                                            {frameWidth, kFrames[2]}, {spare, Qt::white}});
        for (int k = 0; k < 3; ++k)
            strip.setPixelColor(k * frameWidth + 1, 1, kMagenta);
        Load(strip);
    }
    void Load(const QImage &strip)
    {
        test::LoadInto(image.bitmap, dir, "button.png", strip);
        image.info = image.bitmap.Info();
        button->SetImage(image);
    }
    QColor At(int x, int y) { return panel.grab().toImage().pixelColor(x, y); }

    test::TempDir dir;
    SkinImage image;
    QWidget panel;
    BitmapButton *button = nullptr;
};

struct PointerCase {
    const char *name;
    std::function<void(BitmapButton *)> steps;
    int frame;
    int clicks;
};

// Qt drops a move to where the pointer already is, so every entry starts
// from the panel beside the button.
void MoveIn(BitmapButton *b)
{
    QTest::mouseMove(b, QPoint(30, 15));
    QTest::mouseMove(b, QPoint(5, 2));
}
void Press(BitmapButton *b) { QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 2)); }
void Release(BitmapButton *b) { QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 2)); }
void DragOut(BitmapButton *b) { QTest::mouseMove(b, QPoint(40, 15)); }
void Leave(BitmapButton *b)
{
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b, &leave);
}

TEST_F(BitmapButtonTest, PointerSequencesShowTheirFrame)
{
    const PointerCase cases[] = {
        {"untouched", [](BitmapButton *) {}, 0, 0},
        {"hovered", [](BitmapButton *b) { MoveIn(b); }, 1, 0},
        {"pressed", [](BitmapButton *b) { MoveIn(b); Press(b); }, 2, 1},
        {"released", [](BitmapButton *b) { MoveIn(b); Press(b); Release(b); }, 1, 1},
        {"left", [](BitmapButton *b) { MoveIn(b); Leave(b); }, 0, 0},
        {"left while pressed", [](BitmapButton *b) { MoveIn(b); Press(b); Leave(b); }, 0, 1},
        {"dragged out", [](BitmapButton *b) { MoveIn(b); Press(b); DragOut(b); }, 0, 1},
        {"dragged out and back", [](BitmapButton *b) { MoveIn(b); Press(b); DragOut(b); MoveIn(b); }, 1, 1},
    };
    for (const PointerCase &c : cases) {
        SCOPED_TRACE(c.name);
        delete button;
        button = new BitmapButton(&panel);
        button->setGeometry(0, 0, 20, 6);
        button->show();
        UseStrip(13);
        QSignalSpy clicks(button, &BitmapButton::clicked);
        c.steps(button);
        EXPECT_EQ(At(5, 2), kFrames[c.frame]);
        EXPECT_EQ(At(1, 1), kPanel); // magenta shows what is under
        EXPECT_EQ(clicks.count(), c.clicks);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(40, 15)); // leave no button held
    }
}

TEST_F(BitmapButtonTest, FramesAreAThirdOfTheStripTruncated)
{
    for (int spare : {0, 1}) { // 39 and 40 pixels wide
        SCOPED_TRACE(spare);
        UseStrip(13, spare);
        Leave(button);
        const std::function<void()> toFrame[3] = {
            [] {},
            [this] { MoveIn(button); },
            [this] { Press(button); },
        };
        for (int k = 0; k < 3; ++k) {
            toFrame[k]();
            EXPECT_EQ(At(0, 0), kFrames[k]) << "frame " << k;
            EXPECT_EQ(At(12, kStripHeight - 1), kFrames[k]) << "frame " << k;
            EXPECT_EQ(At(13, 0), kPanel) << "frame " << k; // only one frame wide
            EXPECT_EQ(At(0, kStripHeight), kPanel) << "frame " << k;
        }
        Release(button);
    }
}

TEST_F(BitmapButtonTest, AllMagentaOrNoPictureShowsThePanelAndStillClicks)
{
    QImage magenta(39, kStripHeight, QImage::Format_RGB32);
    magenta.fill(kMagenta);
    Load(magenta);
    MoveIn(button);
    const QImage grabbed = panel.grab().toImage();
    for (int x = 0; x < 13; ++x)
        for (int y = 0; y < kStripHeight; ++y)
            ASSERT_EQ(grabbed.pixelColor(x, y), kPanel) << x << "," << y;

    button->SetImage(QImage(), BitmapInfo());
    QSignalSpy clicks(button, &BitmapButton::clicked);
    Press(button);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(At(5, 2), kPanel);
}

TEST_F(BitmapButtonTest, PressesStayWithTheButton)
{
    struct Panel : QWidget {
        int presses = 0;
        void mousePressEvent(QMouseEvent *) override { ++presses; }
    } parent;
    auto *b = new BitmapButton(&parent);
    b->resize(10, 10);
    parent.show();
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_EQ(parent.presses, 0);
}

TEST_F(BitmapButtonTest, ASecondTooltipTextReplacesTheFirst)
{
    button->SetTooltipText(QString::fromUtf8("재생"));
    button->SetTooltipText(QString::fromUtf8("일시정지"));
    EXPECT_EQ(button->toolTip(), QString::fromUtf8("일시정지"));
}

} // namespace
