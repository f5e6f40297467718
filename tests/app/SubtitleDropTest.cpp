// Files dropped on the window: a SAMI file joins the open media as its
// subtitle; anything else opens as media, the first of several only.

#include "MainWindowFixture.h"

#include "app/PlayerApp.h"
#include "engine/MediaBackend.h"
#include "fixtures/MediaFixtures.h"
#include "resources/CommandIds.h"

#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

namespace velmo::test {
namespace {

using ::testing::ElementsAre;

const QByteArray kSami = "<SAMI><BODY>\n<SYNC Start=0><P Class=KRCC>첫 자막\n</BODY></SAMI>\n";

void Drop(QWidget &window, const QList<QUrl> &urls)
{
    QMimeData mime;
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &drop);
}

QUrl Local(const std::string &path)
{
    return QUrl::fromLocalFile(QString::fromStdString(path));
}

TEST_F(MainWindowTest, DroppedSamiFileJoinsOpenMediaAndAnythingElseOpens)
{
    window->OnInitDialog();
    const std::string film = Media("film.avi");
    const std::string sami = dir.write("extra.smi", kSami);
    const std::string samiAsText = dir.write("captions.txt", kSami);
    const std::string notSami = dir.write("broken.smi", "no captions here\n");
    const std::string other = dir.write("other.avi", "RIFF....AVI ");
    const std::string address = "http://127.0.0.1:9/extra.smi";
    for (const std::string &path : {sami, samiAsText, notSami, other, address})
        backend->AddMedia(path);
    for (const std::string &path : {sami, samiAsText})
        backend->AddSubtitle(path);

    struct Case {
        const char *what;
        bool mediaOpen;
        QList<QUrl> dropped;
        std::string subtitle; ///< the file added as subtitle; empty: the first file opens as media
    };
    const Case cases[] = {
        {"a SAMI file on open media", true, {Local(sami)}, sami},
        {"SAMI content under another name", true, {Local(samiAsText)}, samiAsText},
        {"a SAMI file first of several", true, {Local(sami), Local(other)}, sami},
        {"a SAMI file after a film", true, {Local(other), Local(sami)}, ""},
        {"a .smi name without SAMI content", true, {Local(notSami)}, ""},
        {"a film on open media", true, {Local(other)}, ""},
        {"an address named like a subtitle", true, {QUrl(QString::fromStdString(address))}, ""},
        {"a SAMI file with nothing open", false, {Local(sami)}, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.mediaOpen)
            ASSERT_TRUE(OpenAndWait(film));
        else
            window->OnCommand(ID_CLOSE_MEDIA);
        const std::string firstDropped =
            c.dropped.front().isLocalFile() ? c.dropped.front().toLocalFile().toStdString() : c.dropped.front().toString().toStdString();
        Drop(*window, c.dropped);
        if (!c.subtitle.empty()) {
            EXPECT_FALSE(app->player.Opening());
            EXPECT_EQ(app->player.MediumPath(), film);
            EXPECT_THAT(Graph()->subtitleFiles, ElementsAre(c.subtitle));
            EXPECT_TRUE(app->player.HasCaptions());
        } else {
            ASSERT_TRUE(WaitForOpen());
            EXPECT_EQ(app->player.MediumPath(), firstDropped);
        }
    }
    EXPECT_TRUE(messages.messages.empty());
}

// The real engine: a window playing a clip made for the tests.
class RealDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(QString::fromStdString(FixturePath("clip.mkv")))) << "the test clips could not be made";
        PlayerAppOptions options;
        options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
        options.settingsFile = dir.path("velmo_init.ini");
        options.mediaBackend = CreateGstMediaBackend();
        app = std::make_unique<PlayerApp>(options);
        window = std::make_unique<MainWindow>(*app);
        window->OnInitDialog();
        opened = std::make_unique<QSignalSpy>(&app->player, &Player::opened);
        window->OpenMedia(FixturePath("clip.mkv"));
        ASSERT_TRUE(QTest::qWaitFor([&] { return opened->size() == 1; }, 20000));
    }
    void TearDown() override
    {
        opened.reset();
        window.reset();
        app.reset();
        EXPECT_TRUE(messages.messages.empty());
    }
    bool CaptionShown(const QString &text)
    {
        return QTest::qWaitFor([&] { return app->player.Caption().text == text; }, 5000);
    }

    TempDir dir;
    MessageBoxCapture messages;
    std::unique_ptr<PlayerApp> app;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<QSignalSpy> opened;
};

// The dropped file's caption reaches the screen while the clip plays, and a
// clip dropped next opens in its place.
TEST_F(RealDropTest, CaptionsOfADroppedFileAppearOnAPlayingClip)
{
    const std::string clip = FixturePath("clip.mkv");
    const std::string second = FixturePath("clip.mp4");
    EXPECT_FALSE(app->player.HasCaptions());

    Drop(*window, {Local(dir.write("dropped.smi", kSami))});
    EXPECT_TRUE(app->player.HasCaptions());
    EXPECT_EQ(app->player.MediumPath(), clip);
    EXPECT_TRUE(CaptionShown(QStringLiteral("첫 자막"))) << "caption now: " << app->player.Caption().text.toStdString();

    Drop(*window, {Local(second)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened->size() == 2; }, 20000));
    EXPECT_EQ(app->player.MediumPath(), second);
    EXPECT_FALSE(app->player.HasCaptions());
}

// A caption file of two languages: the menu lists them with "both", checks
// the one shown, and a choice shows the other.
TEST_F(RealDropTest, TheLanguagesOfACaptionFileAreChosenFromTheMenu)
{
    const auto languages = [&] {
        QStringList entries;
        for (QMenu *menu : window->BuildContextMenu()->findChildren<QMenu *>()) {
            if (menu->title() != QStringLiteral("자막 언어"))
                continue;
            for (QAction *action : menu->actions())
                entries << (action->isChecked() ? "*" : "") + action->text() + (action->isEnabled() ? "" : " (greyed)");
        }
        return entries;
    };
    EXPECT_EQ(languages(), QStringList({QStringLiteral("기본 (greyed)")}));

    Drop(*window, {Local(dir.write("two.smi", "<SAMI><HEAD><STYLE><!-- .KRCC {Name:한국어; lang:ko-KR;} "
                                              ".ENCC {Name:English; lang:en-US;} --></STYLE></HEAD><BODY>"
                                              "<SYNC Start=0><P Class=KRCC>가<P Class=ENCC>a</BODY></SAMI>"))});
    ASSERT_TRUE(CaptionShown(QStringLiteral("가")));
    EXPECT_EQ(languages(), QStringList({QStringLiteral("*한국어"), QStringLiteral("English"), QStringLiteral("둘 다")}));

    window->OnCommand(ID_CAPTION_LANGUAGE_FIRST + 1);
    EXPECT_TRUE(CaptionShown(QStringLiteral("a")));
    EXPECT_EQ(languages(), QStringList({QStringLiteral("한국어"), QStringLiteral("*English"), QStringLiteral("둘 다")}));
}

} // namespace
} // namespace velmo::test
