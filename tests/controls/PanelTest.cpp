// The control panel and the title bars on the shipped skin, driven through
// their real buttons and sliders with QTest, on a real Player over the
// engine's fake graph.

#include "controls/BitmapButton.h"
#include "controls/ControlPanel.h"
#include "controls/FullScreenPanel.h"
#include "controls/SkinSlider.h"
#include "controls/TimeDisplay.h"
#include "controls/TitleBar.h"
#include "engine/MediaGraph.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"
#include "support/FakeMediaBackend.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace velmo;

namespace {

class PanelTest : public ::testing::Test {
protected:
    PanelTest()
    {
        InstallKoreanFontSubstitutes();
        owner.resize(800, 600);
        owner.show(); // children lay out on the resize they get when shown
    }

    /// Opens a fake medium of `duration` seconds and waits until the player says it opened.
    std::string Open(const std::string &name, double duration = 100.0)
    {
        const std::string path = dir.write(name, "x");
        backend->AddMedia(path, {duration, 320, 240});
        QSignalSpy opened(&player, &Player::opened);
        player.Open(path);
        EXPECT_TRUE(opened.wait(2000)) << name;
        return path;
    }
    std::shared_ptr<FakeFilterGraph> Graph() { return backend->LastGraph(); }

    static void Click(QWidget *w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(2, 2)); }

    test::TempDir dir;
    SkinSet skin{VELMO_SOURCE_DIR "/skin/default/skin.ini"};
    std::shared_ptr<FakeMediaBackend> backend = std::make_shared<FakeMediaBackend>();
    MediaGraph graph{backend};
    SubtitleStyle look{dir.path("velmo_init.ini")};
    PlayerSettings settings{look.settingsFile};
    Player player{graph, settings, look};
    QWidget owner;
};

TEST_F(PanelTest, LayoutFollowsTheSkinFromBothEdges)
{
    skin.soundSlider.x = 70;
    ControlPanel panel(skin, player, &owner);
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
    ControlPanel panel(skin, player, &owner);
    panel.resize(400, 54);
    panel.show();
    EXPECT_FALSE(panel.stopButton->isVisibleTo(&panel));
    EXPECT_EQ(panel.stopButton->geometry(), QRect(38, 26, 28, 24));
}

// The buttons ask; the window acts. A panel that also acted would play and
// pause twice per click, or step the folder twice.
TEST_F(PanelTest, EachButtonAsksForItsCommandOnBothPanelsAndTouchesNothing)
{
    ControlPanel normal(skin, player, &owner);
    FullScreenPanel full(skin, player, &owner);
    dir.write("a.avi", "x");
    const std::string path = Open("b.avi");
    dir.write("c.avi", "x");
    const size_t before = backend->script->calls.size();
    for (ControlPanel *panel : {&normal, static_cast<ControlPanel *>(&full)}) {
        struct Case {
            BitmapButton *button;
            int command;
        } cases[] = {
            {panel->playButton, ID_PLAY_PAUSE}, {panel->stopButton, ID_STOP},
            {panel->prevButton, ID_PREV_FILE},  {panel->nextButton, ID_NEXT_FILE},
            {panel->openButton, ID_FILE_OPEN},  {panel->fullScreenButton, ID_FULL_SCREEN},
        };
        for (const Case &c : cases) {
            QSignalSpy commands(panel, &ControlPanel::Command);
            Click(c.button);
            ASSERT_EQ(commands.size(), 1) << panel->metaObject()->className() << " " << c.command;
            EXPECT_EQ(commands[0][0].toInt(), c.command) << panel->metaObject()->className();
        }
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(backend->script->calls.size(), before);
    EXPECT_EQ(player.MediumPath(), path);
    EXPECT_EQ(player.State(), PlayState::Running);
}

TEST_F(PanelTest, TheVolumeSliderAndThePlayersVolumeFollowEachOther)
{
    ControlPanel normal(skin, player, &owner);
    FullScreenPanel full(skin, player, &owner);
    Open("clip.avi");
    // Whoever sets the volume (a key, the bus), both sliders show it.
    player.SetVolumePosition(47);
    EXPECT_EQ(normal.VolumePosition(), 47);
    EXPECT_EQ(full.VolumePosition(), 47);

    // A page step down on one slider is heard at once, and the other follows.
    normal.volumeSlider->setFocus();
    QTest::keyClick(normal.volumeSlider, Qt::Key_PageUp);
    QCoreApplication::processEvents();
    EXPECT_EQ(player.VolumePosition(), 37);
    EXPECT_EQ(Graph()->volume, -6300);
    EXPECT_EQ(full.VolumePosition(), 37);
}

TEST_F(PanelTest, DraggingTheTimelineSeeksAtEveryTrackAndPagesSeekButLinesAndEndsDoNot)
{
    ControlPanel panel(skin, player, &owner);
    panel.resize(400, 54);
    Open("clip.avi", 200.0);
    QSignalSpy jumps(&player, &Player::positionJumped);
    SkinSlider *slider = panel.timelineSlider;
    // Pointer x for value 25 of the slider's own arithmetic is found by walking it.
    int x25 = 0;
    while (x25 < slider->width() && SliderValueAt(x25, 0, 100, slider->width(), 0, 12) < 25)
        ++x25;
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(x25, 5));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(x25, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(jumps.size(), 1); // the press tracks; the release does not seek again
    EXPECT_DOUBLE_EQ(player.Position(), 50.0);

    slider->setFocus();
    for (int key : {Qt::Key_Right, Qt::Key_Home, Qt::Key_End, Qt::Key_PageUp})
        QTest::keyClick(slider, Qt::Key(key));
    QCoreApplication::processEvents();
    EXPECT_EQ(jumps.size(), 2);
    EXPECT_DOUBLE_EQ(player.Position(), 180.0);
}

TEST_F(PanelTest, PlayPictureFollowsThePlayersStateWhateverRaisedIt)
{
    ControlPanel normal(skin, player, &owner);
    FullScreenPanel full(skin, player, &owner);
    const auto waitForState = [&](const std::function<void()> &act) {
        QSignalSpy changed(&player, &Player::stateChanged);
        act();
        EXPECT_TRUE(changed.size() > 0 || changed.wait(2000));
    };
    struct Step {
        const char *what;
        std::function<void()> act;
        bool pausePicture;
    } steps[] = {
        {"open", [&] { Open("a.avi"); }, true},
        {"pause", [&] { player.Pause(); }, false},
        {"play/pause", [&] { player.PlayPause(); }, true},
        {"stop", [&] { player.Stop(); }, false},
        {"play", [&] { player.Play(); }, true},
        {"the graph stops on an error", [&] {
             waitForState([&] {
                 Graph()->state = State_Stopped;
                 Graph()->QueueEvent(EC_ERRORABORT);
             });
         }, false},
        {"play/pause when stopped", [&] { player.PlayPause(); }, true},
        {"a rate change while paused", [&] { player.Pause(); player.SetRate(2.0); }, false},
        {"another open", [&] { Open("b.avi"); }, true},
        {"close", [&] { player.Close(); }, false},
    };
    for (const Step &step : steps) {
        step.act();
        const SkinImage &picture = step.pausePicture ? skin.pause : skin.play;
        const QString tip = QString::fromUtf8(step.pausePicture ? "일시정지" : "재생");
        for (ControlPanel *panel : {&normal, static_cast<ControlPanel *>(&full)}) {
            EXPECT_EQ(panel->playButton->image().cacheKey(), picture.bitmap.image().cacheKey())
                << step.what << " on " << panel->metaObject()->className();
            EXPECT_EQ(panel->playButton->toolTip(), tip) << step.what;
        }
    }
}

TEST_F(PanelTest, TimelineMovesForwardOnTicksBackOnJumpsAndResetsOnOpenAndClose)
{
    ControlPanel panel(skin, player, &owner);
    Open("long.avi", 5530.2);
    QSignalSpy ticks(&player, &Player::ticked);
    const auto tick = [&] {
        ticks.clear();
        ASSERT_TRUE(ticks.wait(2000));
    };
    struct Case {
        double position;
        int timeline;
        const char *text;
    } cases[] = {
        {65.7, 1, "00:01:05 / 01:32:10"},
        {3599.9, 65, "00:59:59 / 01:32:10"},
        {3600.0, 65, "01:00:00 / 01:32:10"},
        {10.0, 65, "00:00:10 / 01:32:10"}, // a tick never moves the thumb back
    };
    for (const Case &c : cases) {
        Graph()->positionSeconds = c.position;
        tick();
        EXPECT_EQ(panel.TimelinePosition(), c.timeline) << c.position;
        EXPECT_EQ(panel.timeDisplay->text(), QString::fromLatin1(c.text));
    }
    player.SeekTo(2765.1); // a jump does
    EXPECT_EQ(panel.TimelinePosition(), 50);

    // A new medium starts from the left: the ticks alone would leave the thumb where it was.
    Open("short.avi", 100.0);
    EXPECT_EQ(panel.TimelinePosition(), 0);
    Graph()->positionSeconds = 40.0;
    tick();
    EXPECT_EQ(panel.TimelinePosition(), 40);
    player.Close();
    EXPECT_EQ(panel.TimelinePosition(), 0);
    EXPECT_EQ(panel.timeDisplay->text(), QStringLiteral("00:00:00 / 00:00:00"));
}

TEST_F(PanelTest, TheABLoopTakesTheThumbBackToAAndTintsABandUnderTheLine)
{
    ControlPanel panel(skin, player, &owner);
    panel.resize(600, skin.controlPanel.height);
    panel.show();
    Open("clip.avi", 100.0);
    SkinSlider *slider = panel.timelineSlider;
    const auto shown = [&] { return slider->grab().toImage(); };
    const auto column = [](const QImage &image, double fraction) {
        return image.copy(int(fraction * image.width()), 0, 1, image.height());
    };
    const QImage plain = shown(); // the thumb at 0, away from the columns looked at
    const auto loop = [&] {
        Graph()->positionSeconds = 30.0;
        player.PressAbRepeat();
        Graph()->positionSeconds = 70.0;
        player.PressAbRepeat(); // standing at B, the loop goes back to A at once
    };
    loop();
    ASSERT_LT(player.AbRange().first, player.AbRange().second);
    EXPECT_EQ(slider->GetPos(), 30) << "the thumb goes back to A with the playback";
    const QImage tinted = shown();
    EXPECT_EQ(column(tinted, 0.9), column(plain, 0.9)) << "past B";
    EXPECT_EQ(column(tinted, 0.2), column(plain, 0.2)) << "before A";
    // Inside the loop only a thin band changed, below every row of the skin's line.
    const QImage before = column(plain, 0.5);
    const QImage after = column(tinted, 0.5);
    std::vector<int> changed;
    int lineEnd = -1;
    for (int y = 0; y < before.height(); ++y) {
        if (before.pixel(0, y) != after.pixel(0, y))
            changed.push_back(y);
        if (before.pixel(0, y) != before.pixel(0, 0))
            lineEnd = y;
    }
    ASSERT_GE(lineEnd, 0) << "the skin's track has a line";
    ASSERT_FALSE(changed.empty());
    EXPECT_LE(changed.size(), 3u);
    EXPECT_GT(changed.front(), lineEnd) << "the line shows as the skin draws it";

    struct Case {
        const char *what;
        std::function<void()> clear;
    } cases[] = {
        {"a third press", [&] { player.PressAbRepeat(); }},
        {"a close", [&] { player.Close(); }},
    };
    for (const Case &c : cases) {
        if (player.AbRange().first >= player.AbRange().second)
            loop();
        ASSERT_EQ(column(shown(), 0.5), after) << c.what;
        c.clear();
        EXPECT_EQ(column(shown(), 0.5), before) << c.what;
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
    ControlPanel panel(skin, player, &top);
    panel.resize(400, 54);
    QTest::mousePress(&panel, Qt::LeftButton, {}, QPoint(200, 45));
    QTest::mousePress(panel.stopButton, Qt::LeftButton, {}, QPoint(3, 3));
    QCoreApplication::processEvents();
    EXPECT_EQ(top.presses, 1);
    EXPECT_EQ(top.global, panel.mapToGlobal(QPoint(200, 45)));
}

} // namespace
