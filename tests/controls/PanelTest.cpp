// The control panel and the title bars on the shipped skin, driven through
// their real buttons and sliders with QTest, against the engine's fake graph.

#include "controls/BitmapButton.h"
#include "controls/ControlPanel.h"
#include "controls/FullScreenPanel.h"
#include "player/PlaybackRules.h"
#include "controls/SkinSlider.h"
#include "controls/TimeDisplay.h"
#include "controls/TitleBar.h"
#include "support/FakeMediaBackend.h"
#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace velmo;

namespace {

class PanelTest : public ::testing::Test {
protected:
    PanelTest()
        : skin(VELMO_SOURCE_DIR "/skin/default/skin.ini"),
          backend(std::make_shared<FakeMediaBackend>()),
          graph(backend),
          style(dir.path("velmo_init.ini"))
    {
        InstallKoreanFontSubstitutes();
        owner.resize(800, 600);
        owner.show(); // children lay out on the resize they get when shown
    }

    /// Opens a fake medium of `duration` seconds.
    void Open(double duration)
    {
        const std::string path = dir.path("clip.avi");
        backend->AddMedia(path, {duration, 320, 240});
        ASSERT_EQ(graph.Open(&owner, path), S_OK);
        backend->script->calls.clear();
    }
    std::vector<std::string> &Calls() { return backend->script->calls; }
    std::shared_ptr<FakeFilterGraph> Graph() { return backend->LastGraph(); }

    static void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2)); }

    test::TempDir dir;
    SkinSet skin;
    std::shared_ptr<FakeMediaBackend> backend;
    MediaGraph graph;
    SubtitleStyle style;
    QWidget owner;
};

TEST_F(PanelTest, LayoutFollowsTheSkinFromBothEdges)
{
    skin.soundSlider.x = 70;
    ControlPanel panel(skin, graph, style, &owner);
    panel.resize(400, skin.controlPanel.height);
    panel.show();

    struct Case {
        QWidget *control;
        QRect expected;
    } cases[] = {
        {panel.volumeSlider, QRect(330, skin.soundSlider.y, skin.soundSlider.width, skin.soundSlider.height)},
        {panel.timelineSlider, QRect(skin.timeline.x, skin.timeline.y, 400 - skin.timeline.blank, skin.timeline.height)},
        {panel.playButton, QRect(8, 26, 28, 24)},
        {panel.openButton, QRect(128, 26, 28, 24)},
        {panel.fullScreenButton, QRect(400 - 36, 26, 28, 24)},
        {panel.timeDisplay, QRect(400 - 126, 6, 126 - 8, 14)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.control->geometry(), c.expected) << c.control->metaObject()->className();
    EXPECT_TRUE(panel.playButton->isVisibleTo(&panel));
    EXPECT_EQ(panel.VolumePosition(), 100);
    EXPECT_EQ(panel.playButton->toolTip(), QString::fromUtf8("플레이"));
}

TEST_F(PanelTest, AControlTheSkinHidesIsStillLaidOut)
{
    skin.stop.shown = false;
    ControlPanel panel(skin, graph, style, &owner);
    panel.resize(400, 54);
    panel.show();
    EXPECT_FALSE(panel.stopButton->isVisibleTo(&panel));
    EXPECT_EQ(panel.stopButton->geometry(), QRect(38, 26, 28, 24));
}

TEST_F(PanelTest, UpdateTimeMovesTheTimelineForwardAndWritesTheText)
{
    ControlPanel panel(skin, graph, style, &owner);
    Open(5530.2);
    struct Case {
        double position;
        int timeline;
        const char *text;
    } cases[] = {
        {65.7, 1, "00:01:05 / 01:32:10"},
        {3599.9, 65, "00:59:59 / 01:32:10"},
        {3600.0, 65, "01:00:00 / 01:32:10"},
        {10.0, 65, "00:00:10 / 01:32:10"}, // the timer never moves the thumb back
    };
    for (const Case &c : cases) {
        Graph()->positionSeconds = c.position;
        panel.UpdateTime();
        EXPECT_EQ(panel.TimelinePosition(), c.timeline) << c.position;
        EXPECT_EQ(panel.timeDisplay->text(), QString::fromLatin1(c.text));
    }
}

TEST_F(PanelTest, DraggingTheTimelineSeeksAtEveryTrackAndNotAtTheRelease)
{
    ControlPanel panel(skin, graph, style, &owner);
    panel.resize(400, 54);
    Open(200.0);
    SkinSlider *slider = panel.timelineSlider;
    // Pointer x for value 25 of the slider's own arithmetic is found by walking it.
    int x25 = 0;
    while (x25 < slider->width() && SliderValueAt(x25, 0, 100, slider->width(), 0, 12) < 25)
        ++x25;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x25, 5));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x25, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"put_CurrentPosition(50)"}));

    // Lines and the ends move the thumb but do not seek; pages do.
    Calls().clear();
    slider->setFocus();
    for (int key : {Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp})
        QTest::keyClick(slider, Qt::Key(key));
    QCoreApplication::processEvents();
    EXPECT_EQ(Calls(), (std::vector<std::string>{"put_CurrentPosition(180)"}));
}

TEST_F(PanelTest, VolumeIsStoredAlwaysAndHeardOnlyWhenSoundIsOnWithAGraph)
{
    struct Case {
        bool open, soundOn;
        int position;
        int expectedLevel;
        std::vector<std::string> calls;
    } cases[] = {
        {false, true, 37, -6300, {}},
        {true, false, 37, -6300, {}},
        {true, true, 37, -6300, {"put_Volume(-6300)"}},
        {true, true, 0, -10000, {"put_Volume(-10000)"}},
        {true, true, 100, 0, {"put_Volume(0)"}},
    };
    for (const Case &c : cases) {
        if (c.open && !graph.graph)
            Open(10.0);
        Calls().clear();
        style.soundEnabled = c.soundOn;
        EXPECT_EQ(SetVolumeFromPosition(c.position, style, graph), c.soundOn) << c.position;
        EXPECT_EQ(style.volumeLevel, c.expectedLevel) << c.position;
        EXPECT_EQ(Calls(), c.calls) << c.position;
    }

    // The panel's slider goes through the same rule: a page step down from 47.
    ControlPanel panel(skin, graph, style, &owner);
    panel.SetVolumePosition(47);
    panel.volumeSlider->setFocus();
    QTest::keyClick(panel.volumeSlider, Qt::Key_PageUp);
    QCoreApplication::processEvents();
    EXPECT_EQ(style.volumeLevel, -6300);
    EXPECT_EQ(Graph()->volume, -6300);
}

TEST_F(PanelTest, PlayButtonTogglesAndShowsTheStateItLeft)
{
    ControlPanel panel(skin, graph, style, &owner);
    Click(panel.playButton); // no graph: nothing happens
    EXPECT_EQ(panel.playButton->toolTip(), QString::fromUtf8("플레이"));

    Open(100.0);
    Graph()->state = State_Stopped;
    Graph()->positionSeconds = 40.0;
    panel.SetTimelinePosition(40);
    Click(panel.playButton);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"put_CurrentPosition(0)", "Run"}));
    EXPECT_EQ(panel.TimelinePosition(), 0);
    EXPECT_EQ(panel.playButton->toolTip(), QString::fromUtf8("일시정지"));
    EXPECT_EQ(panel.playButton->image().cacheKey(), skin.pause.bitmap.image().cacheKey());

    Click(panel.playButton);
    EXPECT_EQ(Calls().back(), "Pause");
    EXPECT_EQ(panel.playButton->toolTip(), QString::fromUtf8("재생"));
    EXPECT_EQ(panel.playButton->image().cacheKey(), skin.play.bitmap.image().cacheKey());

    Graph()->state = State_Running;
    Click(panel.stopButton);
    EXPECT_EQ(Calls().back(), "Stop");
    EXPECT_EQ(panel.playButton->toolTip(), QString::fromUtf8("재생"));
}

TEST_F(PanelTest, OpenAndFullScreenAreCommandsForTheOwnerOnBothPanels)
{
    ControlPanel normal(skin, graph, style, &owner);
    FullScreenPanel full(skin, graph, style, &owner);
    for (ControlPanel *panel : {&normal, static_cast<ControlPanel *>(&full)}) {
        QSignalSpy commands(panel, &ControlPanel::Command);
        Click(panel->openButton);
        Click(panel->fullScreenButton);
        Click(panel->prevButton);
        Click(panel->nextButton);
        ASSERT_EQ(commands.size(), 2);
        EXPECT_EQ(commands[0][0].toInt(), ID_FILE_OPEN);
        EXPECT_EQ(commands[1][0].toInt(), ID_FULL_SCREEN);
    }
}

TEST_F(PanelTest, TitleBarButtonsSitFromTheirEdgesAndAct)
{
    skin.close.x = 15;
    TitleBar bar(skin, &owner);
    bar.resize(300, skin.topPanel.height);
    bar.show();
    EXPECT_EQ(bar.closeButton->geometry().left(), 285);
    EXPECT_EQ(bar.closeButton->geometry().right(), 285 + 34 - 1);
    EXPECT_EQ(bar.iconButton->geometry(), QRect(9, 6, 16, 16));
    EXPECT_EQ(bar.closeButton->toolTip(), QString::fromUtf8("닫기"));

    QSignalSpy commands(&bar, &TitleBar::Command);
    QSignalSpy exits(&bar, &TitleBar::ExitProcess);
    Click(bar.titleStringButton);
    Click(bar.iconButton);
    Click(bar.maximizeButton);
    Click(bar.closeButton);
    ASSERT_EQ(commands.size(), 2);
    EXPECT_EQ(commands[0][0].toInt(), ID_EXIT);
    EXPECT_EQ(commands[1][0].toInt(), ID_FULL_SCREEN);
    ASSERT_EQ(exits.size(), 1);
    EXPECT_EQ(exits[0][0].toInt(), 1);
}

TEST_F(PanelTest, MinimiseActsOnTheTopLevelWindowAndFullScreenMaximiseHidesItsBar)
{
    owner.show();
    TitleBar bar(skin, &owner);
    FullScreenTitleBar full(skin, &owner);
    full.show();
    Click(bar.minimizeButton);
    EXPECT_TRUE(owner.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(bar.isMinimized());

    QSignalSpy commands(&full, &TitleBar::Command);
    Click(full.maximizeButton);
    EXPECT_FALSE(full.isVisible());
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands[0][0].toInt(), ID_FULL_SCREEN);
}

TEST_F(PanelTest, InputOnTheBackgroundReachesTheTopLevelWindowButtonsKeepTheirs)
{
    struct Recorder : QWidget {
        int presses = 0;
        QPoint global;
        void mousePressEvent(QMouseEvent *e) override
        {
            ++presses;
            global = e->globalPosition().toPoint();
        }
    } top;
    ControlPanel panel(skin, graph, style, &top);
    panel.resize(400, 54);
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(200, 45));
    QTest::mousePress(panel.stopButton, Qt::LeftButton, {}, QPoint(3, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(top.presses, 1);
    EXPECT_EQ(top.global, panel.mapToGlobal(QPoint(200, 45)));
}

} // namespace
