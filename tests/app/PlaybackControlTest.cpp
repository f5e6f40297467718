// What the window does about playback beside the player's own rules: the
// volume keys on the slider, the volume message, hiding, the caption drawn
// over the picture, a picture size learnt late, the caption file dialog and
// the exit.

#include "MainWindowFixture.h"

#include "app/PlayerMessage.h"
#include "controls/SkinSlider.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"

namespace velmo::test {
namespace {

using ::testing::ElementsAre;

class PlaybackControlTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
    }

    /// A medium with a caption file beside it, open, its screen at a known size.
    void OpenCaptioned()
    {
        const std::string film = Media("film.avi");
        backend->AddSubtitle(dir.write("film.smi", "<SAMI></SAMI>"));
        ASSERT_TRUE(OpenAndWait(film));
        ASSERT_TRUE(app->player.HasCaptions());
        MainWindowSeam::Screen(*window)->resize(480, 240);
    }
    /// Shows `raw` as the graph's caption and waits for the player to take it.
    void Caption(const QString &raw)
    {
        QSignalSpy changed(&app->player, &Player::captionChanged);
        Graph()->QueueEvent(EC_OLE_EVENT, 0, raw);
        ASSERT_TRUE(changed.wait(2000));
    }
    /// Waits for the player's next tick.
    bool NextTick()
    {
        QSignalSpy ticked(&app->player, &Player::ticked);
        return ticked.wait(2000);
    }
};

TEST_F(PlaybackControlTest, VolumeKeysStepTheSliderWithinItsRangeWithOrWithoutIt)
{
    SkinSlider *slider = Panel()->volumeSlider;
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(slider->GetPos(), 100);
    EXPECT_EQ(Settings().volumeLevel, 0);
    app->player.SetVolumePosition(1);
    window->OnCommand(ID_VOLUME_DOWN);
    window->OnCommand(ID_VOLUME_DOWN);
    EXPECT_EQ(slider->GetPos(), 0);
    EXPECT_EQ(Settings().volumeLevel, -10000);
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(Settings().volumeLevel, -9900);

    // A skin without a panel steps the level the slider would show.
    MainWindowSeam::SetPanels(*window, nullptr, nullptr, nullptr);
    window->OnCommand(ID_VOLUME_UP);
    EXPECT_EQ(Settings().volumeLevel, -9800);
}

TEST_F(PlaybackControlTest, TheVolumeMessageAppliesASliderPosition)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    PlayerMessage message(WM_PLAYER_VOLUME, 0, 37);
    QCoreApplication::sendEvent(window.get(), &message);
    EXPECT_EQ(Settings().volumeLevel, -6300);
    EXPECT_EQ(Graph()->volume, -6300);
    EXPECT_EQ(Panel()->VolumePosition(), 37);
}

TEST_F(PlaybackControlTest, HideMinimisesMutesAndPausesAndRestoringUndoesIt)
{
    window->show();
    window->OnCommand(ID_HIDE); // no media: nothing
    EXPECT_FALSE(Settings().hiddenMode);
    EXPECT_FALSE(window->isMinimized());

    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    app->player.SetVolumePosition(95);
    window->OnCommand(ID_HIDE);
    EXPECT_TRUE(Settings().hiddenMode);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_TRUE(app->player.Muted());
    EXPECT_EQ(app->player.State(), PlayState::Paused);
    EXPECT_EQ(Graph()->volume, -10000);

    // The window system restores the window: the media goes on with its sound.
    window->showNormal();
    EXPECT_FALSE(Settings().hiddenMode);
    EXPECT_FALSE(app->player.Muted());
    EXPECT_EQ(app->player.State(), PlayState::Running);
    EXPECT_EQ(Graph()->volume, -500);
}

TEST_F(PlaybackControlTest, TheCaptionIsDrawnOnlyWhileItsFileIsLoadedAndCaptionsShow)
{
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    ASSERT_TRUE(OpenAndWait(Media("plain.avi")));
    Caption(QStringLiteral("<P Class=KRCC>Without a file"));
    ASSERT_TRUE(NextTick());
    EXPECT_FALSE(screen->HasSubtitleLayer());

    OpenCaptioned();
    Style().subtitleVisible = false;
    Caption(QStringLiteral("<P Class=KRCC>Hello"));
    ASSERT_TRUE(NextTick());
    EXPECT_FALSE(screen->HasSubtitleLayer());
    // Shown again: the next tick draws the caption that stands.
    Style().subtitleVisible = true;
    EXPECT_TRUE(QTest::qWaitFor([&] { return screen->HasSubtitleLayer(); }, 2000));
}

TEST_F(PlaybackControlTest, TheMarkupSwitchRedrawsTheCaptionAtOnce)
{
    OpenCaptioned();
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    Caption(QStringLiteral("<P Class=KRCC><b>WWWW WWWW</b>"));
    const QRect plain = screen->SubtitleRect();
    ASSERT_FALSE(plain.isEmpty());

    window->OnCommand(ID_CAPTION_MARKUP);
    EXPECT_GT(screen->SubtitleRect().width(), plain.width()); // bold now, without waiting for the next caption
    window->OnCommand(ID_CAPTION_MARKUP);
    EXPECT_EQ(screen->SubtitleRect(), plain);
}

TEST_F(PlaybackControlTest, APictureSizeLearntLateFitsTheWindowOnceAndThePresetsFollow)
{
    window->move(20, 30);
    const QSize start = window->size();
    ASSERT_TRUE(OpenAndWait(Media("live.ts", {-1.0, 0, 0}))); // no picture yet
    EXPECT_EQ(window->size(), start);

    QSignalSpy sized(&app->player, &Player::videoSizeChanged);
    Graph()->info.width = 320;
    Graph()->info.height = 240;
    Graph()->QueueEvent(EC_VIDEO_SIZE_CHANGED, 320 | (240 << 16));
    ASSERT_TRUE(sized.wait(2000));
    EXPECT_EQ(window->geometry(),
              QRect(QPoint(20, 30), FittedWindowSize(320, 240, Skin()).expandedTo(kMinimumWindowSize)));
    window->OnCommand(ID_SIZE_DOUBLE);
    EXPECT_EQ(window->size(), PresetWindowSize(ID_SIZE_DOUBLE, 320, 240, Skin()));

    // A report of the size already known leaves the user's own size alone.
    window->resize(700, 600);
    Graph()->QueueEvent(EC_VIDEO_SIZE_CHANGED, 320 | (240 << 16));
    QCoreApplication::processEvents(); // the event is posted: this delivers it
    EXPECT_EQ(sized.size(), 1);
    EXPECT_EQ(window->size(), QSize(700, 600));
}

TEST_F(PlaybackControlTest, TheCaptionFileDialogOffersCaptionFilesOnlyWithMedia)
{
    std::string answer = dir.write("extra.smi", "<SAMI></SAMI>");
    backend->AddSubtitle(answer);
    QStringList filters;
    MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &dialog) {
        filters = dialog.nameFilters();
        return answer;
    });
    window->OnCommand(ID_OPEN_SUBTITLE); // no media: no dialog
    EXPECT_TRUE(filters.isEmpty());

    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    window->OnCommand(ID_OPEN_SUBTITLE);
    EXPECT_EQ(filters.size(), 2);
    EXPECT_THAT(Graph()->subtitleFiles, ElementsAre(answer));
    EXPECT_TRUE(app->player.HasCaptions());
}

TEST_F(PlaybackControlTest, ExitClosesTheMediumAndEndsWithCodeOne)
{
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    window->OnCommand(ID_EXIT);
    EXPECT_FALSE(app->player.HasMedium());
    EXPECT_EQ(backend->script->graphsAlive, 0);
    EXPECT_THAT(exitCodes, ElementsAre(1));

    // The window manager's close is the same command.
    window->show();
    window->close();
    EXPECT_THAT(exitCodes, ElementsAre(1, 1));
    EXPECT_TRUE(window->isVisible());
}

} // namespace
} // namespace velmo::test
