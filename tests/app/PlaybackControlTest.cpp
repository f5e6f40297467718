#include "MainWindowFixture.h"

#include "app/PlayerMessage.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"

#include <QApplication>

namespace velmo::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

class PlaybackControlTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
        AttachPanels();
    }
};

TEST_F(PlaybackControlTest, VolumeStepsStayWithinTheSliderRange)
{
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(controlPanel->volume, 100);
    EXPECT_EQ(Style().volumeLevel, 0);
    controlPanel->volume = 1;
    window->OnCommand(ID_VOLUME_DOWN);
    window->OnCommand(ID_VOLUME_DOWN);
    EXPECT_EQ(controlPanel->volume, 0);
    EXPECT_EQ(Style().volumeLevel, -10000);
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(Style().volumeLevel, -9900);
    // The full-screen panel's slider follows only on a mode change.
    EXPECT_EQ(fullScreenPanel->volume, 100);
}

TEST_F(PlaybackControlTest, MuteSurvivesAnOpenAndVolumeChangesWhileMutedWait)
{
    window->OpenMedia(Media("a.avi"));
    controlPanel->volume = 80;
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(Style().volumeLevel, -1900);
    EXPECT_EQ(Graph()->volume, -1900);

    window->OnCommand(ID_MUTE);
    EXPECT_FALSE(Style().soundEnabled);
    EXPECT_EQ(Graph()->volume, -10000);
    window->OnCommand(ID_VOLUME_DOWN); // stored, not heard
    EXPECT_EQ(Style().volumeLevel, -2000);
    EXPECT_EQ(Graph()->volume, -10000);
    window->OnCommand(ID_MUTE);
    EXPECT_EQ(Graph()->volume, -2000);

    // Muted, then another file: it plays at the level while the mute stays checked.
    window->OnCommand(ID_MUTE);
    window->OpenMedia(Media("b.avi"));
    EXPECT_EQ(Graph()->volume, -2000);
    EXPECT_FALSE(Style().soundEnabled);
    window->OnCommand(ID_MUTE); // unmutes without an audible change
    EXPECT_TRUE(Style().soundEnabled);
    EXPECT_EQ(Graph()->volume, -2000);
    window->OnCommand(ID_MUTE);
    EXPECT_EQ(Graph()->volume, -10000);
}

TEST_F(PlaybackControlTest, VolumeMessageAppliesASliderPosition)
{
    window->OpenMedia(Media("a.avi"));
    PlayerMessage message(WM_PLAYER_VOLUME, 0, 37);
    QCoreApplication::sendEvent(window.get(), &message);
    EXPECT_EQ(Style().volumeLevel, -6300);
    EXPECT_EQ(Graph()->volume, -6300);
}

TEST_F(PlaybackControlTest, HideMinimisesMutesAndPausesAndRestoringUndoesIt)
{
    window->show();
    window->OnCommand(ID_HIDE); // no media: nothing
    EXPECT_FALSE(Style().hiddenMode);
    EXPECT_FALSE(window->isMinimized());

    window->OpenMedia(Media("a.avi"));
    Style().volumeLevel = -500;
    window->OnCommand(ID_HIDE);
    EXPECT_TRUE(Style().hiddenMode);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(Style().soundEnabled);
    EXPECT_EQ(Graph()->state, State_Paused);
    EXPECT_EQ(Graph()->volume, -10000);

    // The window system restores the window: the media resumes with its sound.
    window->showNormal();
    EXPECT_FALSE(Style().hiddenMode);
    EXPECT_TRUE(Style().soundEnabled);
    EXPECT_EQ(Graph()->state, State_Running);
    EXPECT_EQ(Graph()->volume, -500);
}

TEST_F(PlaybackControlTest, TimerUpdatesBothPanelsAndNeverMovesTheTimelineBack)
{
    window->OnTimer();
    EXPECT_EQ(controlPanel->updates, 0); // no media
    window->OpenMedia(Media("a.avi", {200.0, 320, 240}));
    Graph()->positionSeconds = 100.0;
    window->OnTimer();
    EXPECT_EQ(controlPanel->updates, 1);
    EXPECT_EQ(fullScreenPanel->updates, 1);
    EXPECT_EQ(controlPanel->timeline, 50);

    window->OnCommand(ID_BACK_30S);
    EXPECT_EQ(Graph()->positionSeconds, 70.0);
    window->OnTimer();
    EXPECT_EQ(controlPanel->timeline, 50);

    window->OnCommand(ID_JUMP_START);
    EXPECT_EQ(controlPanel->timeline, 0);
    EXPECT_EQ(fullScreenPanel->timeline, 50);
}

TEST_F(PlaybackControlTest, TimerRedrawsTheCaptionOnlyWhileLoadedAndVisible)
{
    const std::string film = Media("film.avi");
    backend->AddSubtitle(dir.write("film.smi", "<SAMI></SAMI>"));
    window->OpenMedia(film);
    MainWindowSeam::Screen(*window)->resize(320, 240);
    Style().subtitleText = "Hello";
    Style().subtitleVisible = false;
    window->OnTimer();
    EXPECT_FALSE(MainWindowSeam::Screen(*window)->HasSubtitleLayer());
    Style().subtitleVisible = true;
    window->OnTimer();
    EXPECT_TRUE(MainWindowSeam::Screen(*window)->HasSubtitleLayer());
}

TEST_F(PlaybackControlTest, SeeksJumpsAndRates)
{
    window->OnCommand(ID_FORWARD_5S);
    window->OnCommand(ID_JUMP_END);
    window->OnCommand(ID_RATE_FAST);
    EXPECT_TRUE(Calls().empty());

    window->OpenMedia(Media("a.avi", {100.0, 320, 240}));
    Graph()->positionSeconds = 10.0;
    window->OnCommand(ID_FORWARD_5S);
    EXPECT_EQ(Graph()->positionSeconds, 15.0);
    window->OnCommand(ID_FORWARD_30S);
    EXPECT_EQ(Graph()->positionSeconds, 45.0);
    window->OnCommand(ID_BACK_5S);
    EXPECT_EQ(Graph()->positionSeconds, 40.0);

    window->OnCommand(ID_JUMP_MIDDLE);
    EXPECT_EQ(Graph()->positionSeconds, 50.0);
    EXPECT_EQ(controlPanel->timeline, 50);
    window->OnCommand(ID_JUMP_END);
    EXPECT_EQ(Graph()->positionSeconds, 95.0);
    EXPECT_EQ(controlPanel->timeline, 95);

    window->OnCommand(ID_RATE_SLOW);
    EXPECT_EQ(Graph()->rate, 0.5);
    window->OnCommand(ID_RATE_NORMAL);
    EXPECT_EQ(Graph()->rate, 1.0);
}

TEST_F(PlaybackControlTest, EndJumpOnShortMediaGoesToTheStart)
{
    window->OpenMedia(Media("short.avi", {3.0, 320, 240}));
    Graph()->positionSeconds = 2.0;
    controlPanel->timeline = 66;
    window->OnCommand(ID_JUMP_END);
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
    EXPECT_EQ(controlPanel->timeline, 0);
}

TEST_F(PlaybackControlTest, PlayPauseStopAndRepeat)
{
    window->OpenMedia(Media("a.avi"));
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(Graph()->state, State_Paused);
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(Graph()->state, State_Running);
    Graph()->positionSeconds = 4.0;
    controlPanel->timeline = 40;
    window->OnCommand(ID_STOP);
    EXPECT_EQ(Graph()->state, State_Stopped);
    EXPECT_EQ(Graph()->positionSeconds, 4.0); // not rewound by the stop
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
    EXPECT_EQ(controlPanel->timeline, 0);
    EXPECT_EQ(Graph()->state, State_Running);

    window->OnCommand(ID_REPEAT);
    EXPECT_TRUE(Style().repeatMode);
    window->OnCommand(ID_REPEAT);
    EXPECT_FALSE(Style().repeatMode);
}

TEST_F(PlaybackControlTest, PlayPauseWorksWithoutAControlPanel)
{
    MainWindowSeam::SetPanels(*window, nullptr, nullptr, nullptr);
    window->OpenMedia(Media("a.avi"));
    window->OnCommand(ID_STOP);
    Graph()->positionSeconds = 3.0;
    window->OnCommand(ID_PLAY_PAUSE);
    EXPECT_EQ(Graph()->state, State_Running);
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
    window->OnCommand(ID_VOLUME_DOWN);
    EXPECT_EQ(Style().volumeLevel, -100);
}

TEST_F(PlaybackControlTest, CloseMediaStopsTheTimerWithOrWithoutMedia)
{
    controlPanel->timeline = 20;
    window->OnCommand(ID_CLOSE_MEDIA);
    EXPECT_FALSE(MainWindowSeam::PositionTimer(*window).isActive());
    EXPECT_EQ(controlPanel->timeline, 0);

    window->OpenMedia(Media("a.avi"));
    controlPanel->timeline = 20;
    controlPanel->timeText = "00:00:05 / 00:00:10";
    window->OnCommand(ID_CLOSE_MEDIA);
    EXPECT_FALSE(app->mediaGraph.graph);
    EXPECT_EQ(backend->script->graphsAlive, 0);
    EXPECT_FALSE(MainWindowSeam::PositionTimer(*window).isActive());
    EXPECT_EQ(controlPanel->timeline, 0);
    EXPECT_EQ(controlPanel->timeText, "00:00:00 / 00:00:00");
}

TEST_F(PlaybackControlTest, CaptionsAreCleanedShownAndSkippedWhileHidden)
{
    window->OpenMedia(Media("a.avi"));
    MainWindowSeam::Screen(*window)->resize(320, 240);
    Graph()->QueueEvent(EC_OLE_EVENT, 0, "<P Class=KRCC>Hello<br>World");
    QCoreApplication::processEvents();
    EXPECT_EQ(Style().subtitleText, "Hello\r\nWorld");
    EXPECT_TRUE(MainWindowSeam::Screen(*window)->HasSubtitleLayer());

    // Hidden subtitles: the caption is released unseen, the next event of the same drain still counts.
    Style().subtitleVisible = false;
    Style().repeatMode = true;
    Graph()->QueueEvent(EC_OLE_EVENT, 0, "<P>Unseen");
    Graph()->QueueEvent(EC_COMPLETE);
    const size_t mark = Calls().size();
    window->OnMediaEvent();
    EXPECT_EQ(Style().subtitleText, "Hello\r\nWorld");
    EXPECT_THAT(CallsSince(mark), Contains("RenderFile(" + dir.path("a.avi") + ")"));
    int32_t code = 0;
    EventParam p1, p2;
    EXPECT_EQ(Graph()->GetEvent(&code, &p1, &p2, 0), E_ABORT); // drained
}

TEST_F(PlaybackControlTest, TheMarkupSwitchRedrawsTheCaptionAndIsSavedAtOnce)
{
    window->OpenMedia(Media("a.avi"));
    app->mediaGraph.subtitleLoaded = true;
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    screen->resize(480, 240);
    Graph()->QueueEvent(EC_OLE_EVENT, 0, "<P Class=KRCC><b>WWWW WWWW</b>");
    QCoreApplication::processEvents();
    EXPECT_EQ(Style().subtitleMarkup, "<P Class=KRCC><b>WWWW WWWW</b>");
    const QRect plain = screen->SubtitleRect();
    ASSERT_FALSE(plain.isEmpty());

    window->OnCommand(ID_CAPTION_MARKUP);
    EXPECT_GT(screen->SubtitleRect().width(), plain.width()); // bold now, without waiting for the next caption
    EXPECT_TRUE(SubtitleStyle(dir.path("velmo_init.ini")).captionMarkup);
    window->OnCommand(ID_CAPTION_MARKUP);
    EXPECT_EQ(screen->SubtitleRect(), plain);
    EXPECT_FALSE(SubtitleStyle(dir.path("velmo_init.ini")).captionMarkup);
}

TEST_F(PlaybackControlTest, TheEndRepeatsOnlyInRepeatMode)
{
    const std::string film = Media("a.avi");
    window->OpenMedia(film);
    size_t mark = Calls().size();
    Graph()->Complete();
    QCoreApplication::processEvents();
    EXPECT_THAT(CallsSince(mark), Not(Contains("RenderFile(" + film + ")")));
    EXPECT_TRUE(MainWindowSeam::PositionTimer(*window).isActive());

    window->OnCommand(ID_REPEAT);
    controlPanel->timeline = 100;
    mark = Calls().size();
    Graph()->Complete();
    QCoreApplication::processEvents();
    EXPECT_THAT(CallsSince(mark), Contains("RenderFile(" + film + ")"));
    EXPECT_EQ(controlPanel->timeline, 0);
    EXPECT_EQ(Graph()->state, State_Running);
}

TEST_F(PlaybackControlTest, AnErrorInMidPlayEndsPlaybackAsTheEndDoesWithoutRepeat)
{
    window->OnCommand(ID_REPEAT); // an error is not an end to repeat
    const std::string film = Media("a.avi");
    window->OpenMedia(film);
    const int refreshes = controlPanel->refreshes;
    const int fullRefreshes = fullScreenPanel->refreshes;
    const size_t mark = Calls().size();

    Graph()->QueueEvent(EC_ERRORABORT, VFW_E_NOT_FOUND);
    QCoreApplication::processEvents();

    EXPECT_FALSE(MainWindowSeam::PositionTimer(*window).isActive());
    EXPECT_EQ(controlPanel->refreshes, refreshes + 1);
    EXPECT_EQ(fullScreenPanel->refreshes, fullRefreshes + 1);
    EXPECT_THAT(CallsSince(mark), Not(Contains("RenderFile(" + film + ")")));
    EXPECT_TRUE(app->mediaGraph.graph);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PlaybackControlTest, APictureSizeLearntLateFitsTheWindowOnceAndThePresetsFollow)
{
    window->move(20, 30);
    const QSize start = window->size();
    window->OpenMedia(Media("live.ts", {-1.0, 0, 0})); // no picture yet
    EXPECT_EQ(window->size(), start);

    Graph()->info.width = 320;
    Graph()->info.height = 240;
    Graph()->QueueEvent(EC_VIDEO_SIZE_CHANGED, 320 | (240 << 16));
    QCoreApplication::processEvents();
    EXPECT_EQ(app->mediaGraph.videoWidth, 320);
    EXPECT_EQ(app->mediaGraph.videoHeight, 240);
    EXPECT_EQ(window->geometry(),
              QRect(QPoint(20, 30), FittedWindowSize(320, 240, Skin()).expandedTo(kMinimumWindowSize)));
    window->OnCommand(ID_SIZE_DOUBLE);
    EXPECT_EQ(window->size(), PresetWindowSize(ID_SIZE_DOUBLE, 320, 240, Skin()));

    // A report of the size already known leaves the user's own size alone.
    window->resize(700, 600);
    Graph()->QueueEvent(EC_VIDEO_SIZE_CHANGED, 320 | (240 << 16));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->size(), QSize(700, 600));
}

TEST_F(PlaybackControlTest, OpenSubtitlePausesAddsAndRuns)
{
    std::string answer = dir.write("extra.smi", "<SAMI></SAMI>");
    backend->AddSubtitle(answer);
    QString filters;
    MainWindowSeam::SetFileChooser(*window, [&](QWidget *, const QString &f) {
        filters = f;
        return answer;
    });
    window->OnCommand(ID_OPEN_SUBTITLE); // no media: no dialog
    EXPECT_TRUE(filters.isEmpty());

    window->OpenMedia(Media("a.avi"));
    const size_t mark = Calls().size();
    window->OnCommand(ID_OPEN_SUBTITLE);
    EXPECT_EQ(filters, QString::fromUtf8("사미파일(벨모) (*.smi *.sami);;자막 파일(*.smi *.sami *.srt *.vtt) (*.smi *.sami *.srt *.vtt)"));
    EXPECT_THAT(CallsSince(mark), ElementsAre("Pause", "RenderFile(" + answer + ")", "Run"));
    EXPECT_TRUE(app->mediaGraph.subtitleLoaded);
}

TEST_F(PlaybackControlTest, ExitClosesTheGraphStopsTheTimerAndEndsWithCodeOne)
{
    window->OpenMedia(Media("a.avi"));
    window->OnCommand(ID_EXIT);
    EXPECT_FALSE(app->mediaGraph.graph);
    EXPECT_EQ(backend->script->graphsAlive, 0);
    EXPECT_FALSE(MainWindowSeam::PositionTimer(*window).isActive());
    EXPECT_THAT(exitCodes, ElementsAre(1));

    // The window manager's close is the same command.
    window->show();
    window->close();
    EXPECT_THAT(exitCodes, ElementsAre(1, 1));
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace velmo::test
