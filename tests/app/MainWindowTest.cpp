// The main window itself: how it starts, what it does with an open, a failed
// open, drops and the open dialogs, and the panels the skin gives it.

#include "MainWindowFixture.h"

#include "app/OpenUrlDialog.h"
#include "controls/BitmapButton.h"
#include "controls/ControlPanel.h"
#include "controls/TimeDisplay.h"
#include "controls/TitleBar.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <functional>

namespace velmo::test {
namespace {

using ::testing::Contains;
using ::testing::Not;

TEST_F(MainWindowTest, StartsCentredAtTheTemplateSizeWithTitleAndIcon)
{
    const QSize expected = DialogSizeToPixels(187, 165, DialogBaseUnits(TemplateFont("굴림", 9)));
    EXPECT_EQ(window->size(), expected.expandedTo(kMinimumWindowSize));
    EXPECT_EQ(window->geometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("벨모"));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window->acceptDrops());
    EXPECT_EQ(window->minimumSize(), QSize(300, 250));
}

TEST_F(MainWindowTest, InitLaysOutTheScreenAndOpensTheCommandLinePath)
{
    Settings().startupPath = Media("start.avi", {10.0, 320, 240});
    ASSERT_TRUE(window->OnInitDialog());
    ASSERT_NE(MainWindowSeam::Screen(*window), nullptr);
    ASSERT_TRUE(WaitForOpen());
    EXPECT_EQ(Graph()->renderedPath, Settings().startupPath);
    const SkinMetrics skin = Skin();
    EXPECT_EQ(window->size(), FittedWindowSize(320, 240, skin));
    const int w = window->width();
    const int h = window->height();
    EXPECT_EQ(MainWindowSeam::Screen(*window)->geometry(),
              QRect(skin.screenLeftWidth, skin.topReserved, w - skin.screenRightWidth,
                    h - skin.bottomReserved - skin.topReserved));
    EXPECT_EQ(app->skinSet.mainClientRect.right, w);
    EXPECT_EQ(app->skinSet.mainClientRect.bottom, h);
}

TEST_F(MainWindowTest, AnOpenFitsTheWindowAtItsCornerAndStartsBothTimelinesAgain)
{
    window->OnInitDialog();
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {100.0, 320, 240})));
    Graph()->positionSeconds = 40.0;
    ASSERT_TRUE(QTest::qWaitFor([&] { return Panel()->TimelinePosition() == 40; }, 2000));
    ASSERT_EQ(FullScreenPanel()->TimelinePosition(), 40);
    window->move(30, 40);

    // The window waits for the picture's size until the open ends.
    window->OpenMedia(Media("film.avi", {10.0, 640, 480}));
    EXPECT_EQ(window->geometry(), QRect(QPoint(30, 40), FittedWindowSize(320, 240, Skin())));
    ASSERT_TRUE(WaitForOpen());

    EXPECT_EQ(window->geometry(), QRect(QPoint(30, 40), FittedWindowSize(640, 480, Skin())));
    EXPECT_EQ(Panel()->TimelinePosition(), 0);
    EXPECT_EQ(FullScreenPanel()->TimelinePosition(), 0);
}

TEST_F(MainWindowTest, AudioOnlyMediaFitTheWindowOnlyToAnEarlierVideo)
{
    window->OnInitDialog();
    const std::string song = Media("song.mp3", {60.0, 0, 0});
    const QSize start = window->size();
    ASSERT_TRUE(OpenAndWait(song));
    EXPECT_EQ(window->size(), start);

    ASSERT_TRUE(OpenAndWait(Media("clip.avi", {10.0, 400, 300})));
    window->resize(700, 600);
    ASSERT_TRUE(OpenAndWait(song));
    EXPECT_EQ(window->size(), FittedWindowSize(400, 300, Skin()));
}

TEST_F(MainWindowTest, AFailedOpenShowsTheCodecMessageAndTheStartScreenAsACloseDoes)
{
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    QImage startScreen; // as the close leaves it
    struct Case {
        const char *what;
        std::function<void()> act;
        size_t messages;
    } cases[] = {
        {"a close", [&] { window->OnCommand(ID_CLOSE_MEDIA); }, 0},
        {"a file that cannot open", [&] { EXPECT_FALSE(OpenAndWait(dir.path("missing.avi"))); }, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(OpenAndWait(Media("a.avi", {60.0, 320, 240})));
        Graph()->positionSeconds = 17.0;
        ASSERT_TRUE(QTest::qWaitFor([&] { return Panel()->TimelinePosition() == 28; }, 2000));
        ASSERT_EQ(Panel()->timeDisplay->text(), QStringLiteral("00:00:17 / 00:01:00"));
        const QRect geometry = window->geometry();
        messages.messages.clear();

        c.act();
        QTest::qWait(250); // ticks that would show a medium
        EXPECT_FALSE(app->player.HasMedium());
        for (ControlPanel *panel : {Panel(), FullScreenPanel()}) {
            EXPECT_EQ(panel->TimelinePosition(), 0);
            EXPECT_EQ(panel->timeDisplay->text(), QStringLiteral("00:00:00 / 00:00:00"));
            EXPECT_EQ(panel->playButton->image(), app->skinSet.play.bitmap.image());
        }
        EXPECT_EQ(window->geometry(), geometry);
        const QImage shown = screen->grab().toImage();
        if (startScreen.isNull())
            startScreen = shown;
        EXPECT_EQ(shown, startScreen);
        ASSERT_EQ(messages.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(messages.messages[0].text, QString::fromUtf8(kCodecMessage));
            EXPECT_EQ(messages.messages[0].parent, window.get());
            EXPECT_EQ(messages.messages[0].caption, QString::fromUtf8("벨모")); // the program's name, as its window has
        }
    }
}

TEST_F(MainWindowTest, DroppingThreeFilesOpensTheFirstOnly)
{
    window->OnInitDialog();
    const std::string first = Media("one.avi");
    const std::string second = Media("two.avi");
    const std::string third = Media("three.avi");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(first)), QUrl::fromLocalFile(QString::fromStdString(second)),
                  QUrl::fromLocalFile(QString::fromStdString(third))});
    // The shell's drag enters the window before it drops.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &drop);
    ASSERT_TRUE(WaitForOpen());

    EXPECT_THAT(Calls(), Contains("RenderFile(" + first + ")"));
    EXPECT_THAT(Calls(), Not(Contains("RenderFile(" + second + ")")));
    EXPECT_THAT(Calls(), Not(Contains("RenderFile(" + third + ")")));
    EXPECT_EQ(app->player.MediumPath(), first);
}

TEST_F(MainWindowTest, FileDialogGetsTheMediaFiltersAndAnEmptyChoiceOpensNothing)
{
    window->OnInitDialog();
    QStringList filtersSeen;
    std::string answer;
    MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.parentWidget(), nullptr);
        filtersSeen = dialog.nameFilters();
        return answer;
    });
    window->OnCommand(ID_FILE_OPEN);
    EXPECT_EQ(filtersSeen.size(), 8);
    EXPECT_FALSE(app->player.Opening() || app->player.HasMedium());
    EXPECT_TRUE(messages.messages.empty());

    answer = Media("chosen.mkv");
    ASSERT_TRUE(CommandAndWait(ID_FILE_OPEN));
    EXPECT_EQ(app->player.MediumPath(), answer);
}

// Both open dialogs start in the medium's folder and list, under their first
// filter, every file of their kind; the folder chosen is kept on disk.
TEST_F(MainWindowTest, OpenDialogsStartInTheMediumsFolderAndShowEveryPlayableFile)
{
    window->OnInitDialog();
    for (const char *name : {"films/b.mp4", "films/c.webm", "films/d.wma", "films/e.srt", "films/f.vtt", "films/g.smi"})
        dir.write(name, "x");
    ASSERT_TRUE(OpenAndWait(Media("films/playing.mkv")));
    std::string answer;
    const auto listed = [&](int command, qsizetype count) {
        QStringList shown;
        MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &dialog) {
            auto *model = dialog.findChild<QFileSystemModel *>(); // the dialog's own list, read in the background
            const QModelIndex folder = model->index(dialog.directory().absolutePath());
            EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(dir.path("films")));
            EXPECT_TRUE(QTest::qWaitFor([&] { return model->rowCount(folder) >= count; }, 5000));
            for (int row = 0; row < model->rowCount(folder); ++row)
                shown << model->index(row, 0, folder).data().toString();
            return answer;
        });
        window->OnCommand(command);
        shown.sort();
        return shown;
    };
    EXPECT_EQ(listed(ID_FILE_OPEN, 4), QStringList({"b.mp4", "c.webm", "d.wma", "playing.mkv"}));
    answer = dir.write("films/h.srt", "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    backend->AddSubtitle(answer);
    EXPECT_EQ(listed(ID_OPEN_SUBTITLE, 4), QStringList({"e.srt", "f.vtt", "g.smi", "h.srt"}));
    EXPECT_TRUE(dir.read("velmo_init.ini").contains("Last_Folder=" + QByteArray::fromStdString(dir.path("films"))));
}

TEST_F(MainWindowTest, AddressDialogOpensTheAddressAsTypedAndNothingWhenEmpty)
{
    window->OnInitDialog();
    const std::string address = " http://127.0.0.1:1/a.mkv";
    backend->AddMedia(address);
    const auto answerDialog = [](const QString &text) {
        QTimer::singleShot(0, [text] {
            auto *dialog = qobject_cast<OpenUrlDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->addressEdit()->setText(text);
            dialog->accept();
        });
    };
    answerDialog("");
    window->OnCommand(ID_OPEN_ADDRESS);
    EXPECT_FALSE(app->player.Opening() || app->player.HasMedium());

    answerDialog(QString::fromStdString(address));
    ASSERT_TRUE(CommandAndWait(ID_OPEN_ADDRESS));
    EXPECT_EQ(app->player.MediumPath(), address);
}

// ---- The skin's own panels

TEST_F(MainWindowTest, InitMakesThePanelsTheSkinShowsAndTheirFullScreenTwins)
{
    window->OnInitDialog();
    window->resize(500, 400);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    auto *panel = window->findChild<ControlPanel *>(QString(), Qt::FindDirectChildrenOnly);
    auto *bar = window->findChild<TitleBar *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_TRUE(panel && bar);
    EXPECT_EQ(panel->geometry(), QRect(0, 400 - app->skinSet.controlPanel.height, 500, app->skinSet.controlPanel.height));
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 500, app->skinSet.topPanel.height));
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    ASSERT_TRUE(screen->fullScreenPanel && screen->fullScreenTitleBar);
    EXPECT_EQ(screen->fullScreenPanel->parentWidget(), screen);
    EXPECT_TRUE(screen->fullScreenPanel->isHidden());
    EXPECT_TRUE(screen->fullScreenTitleBar->isHidden());

    // The player's ticks write the real time display; the open button reaches the file dialog.
    ASSERT_TRUE(OpenAndWait(Media("a.avi", {100.0, 320, 240})));
    Graph()->positionSeconds = 65.7;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return panel->timeDisplay->text() == QStringLiteral("00:01:05 / 00:01:40"); }, 2000));
    EXPECT_EQ(panel->TimelinePosition(), 65);
    int chooserCalls = 0;
    MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &) { ++chooserCalls; return std::string(); });
    QTest::mouseClick(panel->openButton, Qt::LeftButton, {}, QPoint(2, 2));
    QCoreApplication::processEvents();
    EXPECT_EQ(chooserCalls, 1);
}

TEST_F(MainWindowTest, FullScreenPanelsFollowThePointerAndLeaveWithTheMode)
{
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    window->OnCommand(ID_FULL_SCREEN);
    VideoScreen *screen = MainWindowSeam::Screen(*window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return screen->clientRect.size() == window->screen()->geometry().size(); }));
    const int h = screen->clientRect.height();
    const int panelHeight = app->skinSet.controlPanel.height;
    struct Step {
        int y;
        bool panelShown, barShown;
    } steps[] = {
        {h - panelHeight, false, false},
        {h - panelHeight + 1, true, false},
        {h / 2, false, false},
        {app->skinSet.topPanel.height - 1, false, true},
    };
    for (const Step &s : steps) {
        QTest::mouseMove(screen, QPoint(100, s.y));
        QCoreApplication::processEvents();
        EXPECT_EQ(screen->fullScreenPanel->isVisible(), s.panelShown) << s.y;
        EXPECT_EQ(screen->fullScreenTitleBar->isVisible(), s.barShown) << s.y;
    }
    EXPECT_EQ(screen->fullScreenTitleBar->geometry(), QRect(0, 0, screen->width(), app->skinSet.topPanel.height));

    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(screen->fullScreenTitleBar->isVisible());
    EXPECT_FALSE(screen->fullScreenPanel->isVisible());
}

TEST_F(MainWindowTest, SpaceInFullScreenTurnsThePlayPictureOnBothPanels)
{
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(OpenAndWait(Media("a.avi")));
    window->OnCommand(ID_FULL_SCREEN);
    auto *panel = window->findChild<ControlPanel *>(QString(), Qt::FindDirectChildrenOnly);
    auto *fullScreenPanel = qobject_cast<ControlPanel *>(MainWindowSeam::Screen(*window)->fullScreenPanel);
    ASSERT_TRUE(panel && fullScreenPanel);
    const QImage play = app->skinSet.play.bitmap.image();
    const QImage pause = app->skinSet.pause.bitmap.image();
    ASSERT_NE(play, pause);
    const auto space = [&] { QTest::keyClick(MainWindowSeam::Screen(*window), Qt::Key_Space); };
    const auto panelButton = [&] {
        QTest::mouseClick(fullScreenPanel->playButton, Qt::LeftButton, {}, QPoint(2, 2));
        QCoreApplication::processEvents(); // the button's command is queued to the window
    };
    struct Step {
        std::function<void()> act;
        QImage expected;
    };
    for (const Step &step : {Step{space, play}, Step{space, pause}, Step{panelButton, play}}) {
        step.act();
        EXPECT_EQ(panel->playButton->image(), step.expected);
        EXPECT_EQ(fullScreenPanel->playButton->image(), step.expected);
    }
}

TEST_F(MainWindowTest, AWindowFittedToALargePictureStaysOnTheScreen)
{
    const QRect area(0, 0, 1024, 768);
    MainWindowSeam::SetAvailableArea(*window, area);
    window->OnInitDialog();
    window->show();
    ASSERT_TRUE(OpenAndWait(Media("big.avi", {10.0, 1920, 1080})));
    EXPECT_TRUE(area.contains(window->geometry())) << window->geometry().x() << "," << window->geometry().width();
    const QSize picture = MainWindowSeam::Screen(*window)->size() - QSize(0, 0);
    // The picture area keeps 16:9 within a pixel of rounding.
    EXPECT_NEAR(double(picture.width() - app->skinSet.screenRight.width) / picture.height(), 16.0 / 9.0, 0.01);

    window->OnCommand(ID_SIZE_DOUBLE);
    EXPECT_TRUE(area.contains(window->geometry()));
    ASSERT_TRUE(OpenAndWait(Media("small.avi", {10.0, 320, 240})));
    EXPECT_EQ(window->size(), FittedWindowSize(320, 240, Skin())); // sizes that fit keep their numbers
}
} // namespace
} // namespace velmo::test
