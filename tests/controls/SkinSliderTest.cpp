// The skin slider: its pixel arithmetic as a table, and the real widget
// offscreen driven by QTest pointer and key events, with the reports it queues.

#include "controls/SkinSlider.h"
#include "ControlsTestUtil.h"
#include "skin/SkinSet.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace velmo;
using velmo::test::Bands;

namespace {

TEST(SliderArithmetic, ThumbLeft)
{
    struct Case {
        int minimum, maximum, value, clientWidth, margin, thumbWidth, left;
    } cases[] = {
        {0, 100, 50, 200, 0, 10, 94},
        {0, 100, 100, 200, 0, 10, 188},
        {0, 100, 0, 200, 0, 10, 0},
        {10, 19, 15, 100, 4, 12, 44}, // step 8 from the minimum, after the margin
        {10, 19, 19, 100, 4, 12, 76},
        {0, 100, 50, 10, 0, 10, 0},   // no usable width: at the margin
        {0, 100, 50, 20, 6, 10, 6},   // negative usable width
        {5, 4, 5, 200, 3, 10, 3},     // empty range
    };
    for (const Case &c : cases)
        EXPECT_EQ(SliderThumbLeft(c.minimum, c.maximum, c.value, c.clientWidth, c.margin, c.thumbWidth), c.left)
            << c.minimum << ".." << c.maximum << " value " << c.value << " width " << c.clientWidth;
}

TEST(SliderArithmetic, ValueUnderThePointer)
{
    struct Case {
        int x, minimum, maximum, clientWidth, margin, thumbWidth, value;
    } cases[] = {
        {100, 0, 100, 200, 0, 10, 50},
        {3, 0, 100, 200, 0, 10, 0},     // -1 held at the minimum
        {194, 0, 100, 200, 0, 10, 100},
        {195, 0, 100, 200, 0, 10, 101}, // one past the maximum is allowed
        {250, 0, 100, 200, 0, 10, 101},
        {50, 10, 19, 100, 4, 12, 15},
        {54, 0, 1, 59, 0, 10, 1},       // 2 / 49 × 49 falls short of 2 when divided first
        {100, 0, 100, 10, 0, 10, 0},    // no usable width: the minimum
        {100, 7, 100, 20, 6, 10, 7},
    };
    for (const Case &c : cases)
        EXPECT_EQ(SliderValueAt(c.x, c.minimum, c.maximum, c.clientWidth, c.margin, c.thumbWidth), c.value)
            << "x " << c.x << " range " << c.minimum << ".." << c.maximum << " width " << c.clientWidth;
}

const QColor kLeftEnd(255, 0, 0);
const QColor kRightEnd(0, 0, 255);
const QColor kMiddle(0, 255, 0);
const QColor kThumb(255, 255, 0);
const QColor kHeld(0, 255, 255);

using Report = std::pair<int, int>; // code, value

class SkinSliderTest : public ::testing::Test {
protected:
    SkinSliderTest()
    {
        test::LoadInto(images.track, dir, "track.png",
                       Bands(12, {{5, kLeftEnd}, {5, kRightEnd}, {5, kMiddle}, {3, Qt::black}}));
        test::LoadInto(images.thumb, dir, "thumb.png", Bands(9, {{10, kThumb}}));
        test::LoadInto(images.heldThumb, dir, "held.png", Bands(9, {{10, kHeld}}));
        panel.resize(300, 40);
        slider = new SkinSlider(&panel);
        slider->setGeometry(0, 0, 200, 20);
        slider->SetBitmaps(images, 0);
        slider->SetRange(0, 100);
        slider->SetPos(50);
        panel.show();
        spy = std::make_unique<QSignalSpy>(slider, &SkinSlider::Scroll);
    }
    /// The reports delivered once the queued calls have run.
    std::vector<Report> Reports()
    {
        QCoreApplication::processEvents();
        std::vector<Report> reports;
        for (const QList<QVariant> &args : *spy)
            reports.emplace_back(args.at(0).toInt(), args.at(1).toInt());
        spy->clear();
        return reports;
    }
    QColor At(int x, int y) const { return slider->grab().toImage().pixelColor(x, y); }
    void Press(int x) { QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x, 10)); }
    void Move(int x) { QTest::mouseMove(slider, QPoint(x, 10)); }
    void Release(int x) { QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x, 10)); }

    test::TempDir dir;
    SkinSliderImages images;
    QWidget panel;
    SkinSlider *slider = nullptr;
    std::unique_ptr<QSignalSpy> spy;
};

TEST_F(SkinSliderTest, DragReportsEachNewValueThenOnePositionAtRelease)
{
    Press(100); // on the current value
    EXPECT_TRUE(Reports().empty());
    Move(101);
    Move(102); // still 51
    Move(103);
    Move(105);
    EXPECT_EQ(Reports(), (std::vector<Report>{{TB_THUMBTRACK, 51}, {TB_THUMBTRACK, 52}, {TB_THUMBTRACK, 53}}));
    Release(105);
    EXPECT_EQ(Reports(), (std::vector<Report>{{TB_THUMBPOSITION, 53}}));
    EXPECT_EQ(slider->GetPos(), 53);

    Press(105);
    Release(105);
    EXPECT_TRUE(Reports().empty()); // a click on the current value says nothing
}

TEST_F(SkinSliderTest, PastTheRightEndEveryMoveReportsTheMaximum)
{
    slider->SetPos(100);
    Press(199);
    Move(198);
    Move(250);
    Release(250);
    EXPECT_EQ(Reports(), (std::vector<Report>{{TB_THUMBTRACK, 100}, {TB_THUMBTRACK, 100}, {TB_THUMBTRACK, 100},
                                              {TB_THUMBTRACK, 100}, {TB_THUMBPOSITION, 100}}));
}

TEST_F(SkinSliderTest, KeysMoveTheValueAndReportTheirCode)
{
    struct Case {
        Qt::Key key;
        int from, to, code;
    } cases[] = {
        {Qt::Key_PageUp, 50, 40, TB_PAGEUP},     {Qt::Key_PageUp, 5, 0, TB_PAGEUP},
        {Qt::Key_PageDown, 50, 60, TB_PAGEDOWN}, {Qt::Key_PageDown, 95, 100, TB_PAGEDOWN},
        {Qt::Key_End, 50, 100, TB_BOTTOM},       {Qt::Key_Home, 50, 0, TB_TOP},
        {Qt::Key_Left, 50, 49, TB_LINEUP},       {Qt::Key_Left, 0, 0, TB_LINEUP},
        {Qt::Key_Right, 50, 51, TB_LINEDOWN},    {Qt::Key_Right, 100, 100, TB_LINEDOWN},
    };
    slider->setFocus();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.from);
        SCOPED_TRACE(c.key);
        slider->SetPos(c.from);
        QTest::keyPress(slider, c.key);
        EXPECT_EQ(slider->GetPos(), c.to);
        QTest::keyRelease(slider, c.key);
        EXPECT_EQ(Reports(), (std::vector<Report>{{c.code, c.to}, {TB_ENDTRACK, c.to}}));
    }
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(slider, key);
        EXPECT_EQ(slider->GetPos(), 100);
        EXPECT_TRUE(Reports().empty());
    }
}

TEST_F(SkinSliderTest, WithoutAParentNothingIsReported)
{
    SkinSlider lone;
    lone.resize(200, 20);
    lone.SetBitmaps(images, 0);
    lone.show();
    QSignalSpy reports(&lone, &SkinSlider::Scroll);
    QTest::mousePress(&lone, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::mouseRelease(&lone, Qt::LeftButton, {}, QPoint(150, 10));
    QTest::keyClick(&lone, Qt::Key_End);
    QCoreApplication::processEvents();
    EXPECT_EQ(lone.GetPos(), 100);
    EXPECT_EQ(reports.count(), 0);
}

TEST_F(SkinSliderTest, TrackEndsThumbAndHeldThumbAreDrawnWhereTheyBelong)
{
    struct Case {
        int x, y;
        QColor colour;
    } cases[] = {
        {0, 0, kLeftEnd},   {4, 11, kLeftEnd},   {2, 12, kMiddle},  // ends only as tall as the track
        {5, 0, kMiddle},    {150, 19, kMiddle},  {194, 0, kMiddle},
        {195, 0, kRightEnd}, {199, 11, kRightEnd}, {199, 12, kMiddle},
        {94, 5, kMiddle},   {94, 6, kThumb},     {103, 14, kThumb}, {104, 6, kMiddle}, {94, 15, kMiddle},
    };
    for (const Case &c : cases)
        EXPECT_EQ(At(c.x, c.y), c.colour) << c.x << "," << c.y;

    Press(100);
    EXPECT_EQ(At(94, 6), kHeld);
    Release(100);
    EXPECT_EQ(At(94, 6), kThumb);
}

TEST_F(SkinSliderTest, ChapterTicksAreDrawnWhereTheThumbsCentreWouldStand)
{
    slider->SetPos(0);
    const QImage plain = slider->grab().toImage();
    slider->SetTicks({0.0, 0.25, 0.75, 1.0}); // the ends would only thicken the track's own
    const QImage ticked = slider->grab().toImage();
    const auto drawn = [&](int x) {
        for (int y = 0; y < plain.height(); ++y)
            if (ticked.pixel(x, y) != plain.pixel(x, y))
                return true;
        return false;
    };
    // The thumb's centre spans x 5 (value 0) to 195 (the end): 190 pixels.
    const struct {
        int x;
        bool drawn;
    } cases[] = {{5, false}, {51, false}, {52, true}, {53, false}, {147, true}, {195, false}};
    for (const auto &c : cases)
        EXPECT_EQ(drawn(c.x), c.drawn) << "x " << c.x;
    slider->SetTicks({});
    EXPECT_EQ(slider->grab().toImage(), plain);
}

TEST_F(SkinSliderTest, ThumbTopStaysWhereSetBitmapsPutIt)
{
    slider->resize(200, 40);
    EXPECT_EQ(slider->thumbTop(), 6);
    EXPECT_EQ(At(94, 6), kThumb);
    EXPECT_EQ(At(94, 14), kThumb);
    EXPECT_EQ(At(94, 15), kMiddle);
}

} // namespace
