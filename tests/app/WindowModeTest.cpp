// The window's modes (normal, full screen, filled screen), the size presets
// and moving and sizing the borderless window with the mouse.

#include "MainWindowFixture.h"

#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"

#include <QCursor>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

namespace velmo::test {
namespace {

using ::testing::Contains;
using ::testing::Not;

// The window system moves a window into and out of full screen in its own time.
bool WaitForGeometry(QWidget &window, const QRect &geometry)
{
    return QTest::qWaitFor([&] { return window.geometry() == geometry; }, 2000);
}

// ---- Window modes

TEST_F(MainWindowTest, FullScreenAndFilledScreenTransitions)
{
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {10.0, 320, 240})));
    const QRect normal = window->geometry();
    const QRect screen = window->screen()->geometry();
    auto mixer = backend->LastMixer()->pin;

    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(Settings().fullScreenMode);
    EXPECT_EQ(mixer->mode, AM_ARMODE_LETTER_BOX);
    EXPECT_TRUE(WaitForGeometry(*window, screen));
    EXPECT_EQ(MainWindowSeam::Screen(*window)->geometry(), QRect(QPoint(0, 0), screen.size()));

    // Filled from full: stretched, still covering the screen.
    window->OnCommand(ID_FILLED_SCREEN);
    EXPECT_FALSE(Settings().fullScreenMode);
    EXPECT_TRUE(Settings().filledScreenMode);
    EXPECT_EQ(mixer->mode, AM_ARMODE_STRETCHED);
    EXPECT_TRUE(WaitForGeometry(*window, screen));

    // Full from filled goes to full screen, letter-boxed, not back to normal.
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(Settings().fullScreenMode);
    EXPECT_FALSE(Settings().filledScreenMode);
    EXPECT_EQ(mixer->mode, AM_ARMODE_LETTER_BOX);

    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(Settings().fullScreenMode);
    EXPECT_FALSE(MainWindowSeam::CoveringScreen(*window));
    EXPECT_TRUE(WaitForGeometry(*window, normal));
    EXPECT_EQ(MainWindowSeam::Screen(*window)->geometry().topLeft(), QPoint(Skin().screenLeftWidth, Skin().topReserved));

    window->OnCommand(ID_FILLED_SCREEN);
    window->OnCommand(ID_FILLED_SCREEN);
    EXPECT_FALSE(Settings().filledScreenMode);
    EXPECT_EQ(mixer->mode, AM_ARMODE_LETTER_BOX);
    EXPECT_TRUE(WaitForGeometry(*window, normal));
    QTest::qWait(300); // and it stays there
    EXPECT_EQ(window->geometry(), normal);
}

TEST_F(MainWindowTest, ModesWithoutMediaLeaveTheAspectRatioAlone)
{
    window->OnInitDialog();
    window->show();
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(Settings().fullScreenMode);
    EXPECT_TRUE(MainWindowSeam::CoveringScreen(*window));
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_THAT(Calls(), Not(Contains(::testing::StartsWith("SetAspectRatioMode"))));
}

TEST_F(MainWindowTest, TheFullScreenPanelTakesThePanelsPlaceShowingTheSame)
{
    window->OnInitDialog();
    window->show();
    ControlPanel *panel = Panel();
    ControlPanel *fullScreen = FullScreenPanel();
    ASSERT_TRUE(panel && fullScreen);
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {100.0, 320, 240})));
    Graph()->positionSeconds = 30.0;
    app->player.SetVolumePosition(70);
    ASSERT_TRUE(QTest::qWaitFor([&] { return panel->TimelinePosition() == 30; }, 2000));

    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(panel->isHidden());
    EXPECT_EQ(fullScreen->TimelinePosition(), 30);
    EXPECT_EQ(fullScreen->VolumePosition(), 70);

    // What changes in full screen shows on the normal panel when it comes back.
    Graph()->positionSeconds = 55.0;
    window->OnCommand(ID_VOLUME_DOWN);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fullScreen->TimelinePosition() == 55; }, 2000));
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->TimelinePosition(), 55);
    EXPECT_EQ(panel->VolumePosition(), 69);
}

// ---- Size presets

TEST_F(MainWindowTest, SizePresetsUseTheirOwnTermsKeepTheCornerAndNeedAVideo)
{
    app->skinSet.screenLeft.width = 5;
    app->skinSet.screenRight.width = 5;
    app->skinSet.controlPanel.height = 40;
    window->OnInitDialog();
    window->move(20, 30);
    const QSize start = window->size();

    window->OnCommand(ID_SIZE_HALF); // no media
    EXPECT_EQ(window->size(), start);
    ASSERT_TRUE(OpenAndWait(Media("song.mp3", {60.0, 0, 0})));
    window->OnCommand(ID_SIZE_DOUBLE); // no video since start
    EXPECT_EQ(window->size(), start);

    ASSERT_TRUE(OpenAndWait(Media("small.avi", {10.0, 320, 240})));
    window->OnCommand(ID_SIZE_HALF);
    EXPECT_EQ(window->geometry(), QRect(20, 30, 350, 300));
    // Sound after a picture: the presets keep that picture's size.
    ASSERT_TRUE(OpenAndWait(Media("song.mp3", {60.0, 0, 0})));
    window->OnCommand(ID_SIZE_NORMAL);
    EXPECT_EQ(window->size(), PresetWindowSize(ID_SIZE_NORMAL, 320, 240, Skin()));

    ASSERT_TRUE(OpenAndWait(Media("big.avi", {10.0, 1280, 720})));
    window->OnCommand(ID_SIZE_HALF);
    EXPECT_EQ(window->geometry(), QRect(20, 30, 650, 440));
    window->OnCommand(ID_SIZE_NORMAL);
    EXPECT_EQ(window->size(), PresetWindowSize(ID_SIZE_NORMAL, 1280, 720, Skin()));
}

TEST_F(MainWindowTest, APresetInFilledScreenReturnsToNormalWithThePictureStillStretched)
{
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {10.0, 320, 240})));
    const QPoint corner = window->geometry().topLeft();
    window->OnCommand(ID_FILLED_SCREEN);
    const size_t mark = Calls().size();

    window->OnCommand(ID_SIZE_DOUBLE);

    EXPECT_FALSE(Settings().filledScreenMode);
    EXPECT_FALSE(Settings().fullScreenMode);
    EXPECT_FALSE(MainWindowSeam::CoveringScreen(*window));
    EXPECT_EQ(backend->LastMixer()->pin->mode, AM_ARMODE_STRETCHED);
    EXPECT_THAT(CallsSince(mark), Not(Contains(::testing::StartsWith("SetAspectRatioMode"))));
    EXPECT_EQ(window->geometry(), QRect(corner, PresetWindowSize(ID_SIZE_DOUBLE, 320, 240, Skin())));
}

TEST_F(MainWindowTest, OpeningInFullScreenLeavesTheWindowSize)
{
    window->OnInitDialog();
    window->show();
    window->OnCommand(ID_FULL_SCREEN);
    const QRect covering = window->screen()->geometry();
    ASSERT_TRUE(WaitForGeometry(*window, covering));
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {10.0, 320, 240})));
    EXPECT_EQ(window->geometry(), covering);
}

// ---- Mouse

class MouseTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
        window->setGeometry(100, 100, 400, 300);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // The cursor goes where a user puts it; the event's own point does not count.
    void Press(QPoint local)
    {
        QCursor::setPos(window->mapToGlobal(local));
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(0, 0), QPointF(window->mapToGlobal(local)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &press);
    }
    void DragTo(QPoint global)
    {
        QCursor::setPos(global);
        QMouseEvent move(QEvent::MouseMove, QPointF(0, 0), QPointF(global), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &move);
    }
    void Release()
    {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(0, 0), QPointF(QCursor::pos()), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &release);
    }
};

TEST_F(MouseTest, TheInteriorMovesTheWindow)
{
    Press({200, 150});
    DragTo(window->mapToGlobal(QPoint(200, 150)) + QPoint(35, -20));
    Release();
    EXPECT_EQ(window->geometry(), QRect(135, 80, 400, 300));
}

TEST_F(MouseTest, TheBandSizesFromItsEdgeAndNotBelowTheMinimum)
{
    Press({398, 150}); // right
    DragTo(window->mapToGlobal(QPoint(398, 150)) + QPoint(50, 0));
    Release();
    EXPECT_EQ(window->geometry(), QRect(100, 100, 450, 300));

    Press({1, 1}); // top left
    DragTo(window->mapToGlobal(QPoint(1, 1)) + QPoint(300, 200));
    Release();
    EXPECT_EQ(window->geometry(), QRect(250, 150, 300, 250));
}

TEST_F(MouseTest, APressOnAZoneBoundaryNeitherMovesNorSizes)
{
    Press({2, 10}); // left band, exactly 10 below the top
    DragTo(window->mapToGlobal(QPoint(2, 10)) + QPoint(40, 40));
    Release();
    EXPECT_EQ(window->geometry(), QRect(100, 100, 400, 300));
}

TEST_F(MouseTest, MovesOverTheVideoScreenSetTheZoneCursor)
{
    // The screen forwards its moves; the zone comes from the cursor's position.
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    const QPoint local(window->width() - 2, 150);
    QCursor::setPos(window->mapToGlobal(local));
    QTest::mouseMove(screen, screen->mapFromGlobal(window->mapToGlobal(local)));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->cursor().shape(), Qt::SizeHorCursor);
    QCursor::setPos(window->mapToGlobal(QPoint(200, 150)));
    QTest::mouseMove(screen, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->cursor().shape(), Qt::ArrowCursor);
}
} // namespace
} // namespace velmo::test
