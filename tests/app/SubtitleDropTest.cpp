// Files dropped on the window: a SAMI file joins the open media as its
// subtitle; anything else opens as media, the first of several only.

#include "MainWindowFixture.h"

#include "app/PlayerApp.h"
#include "engine/MediaBackend.h"
#include "fixtures/MediaFixtures.h"
#include "resources/CommandIds.h"

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

// The real engine: the dropped file's caption reaches the screen while the
// clip plays, and a clip dropped next opens in its place.
TEST(SubtitleDrop, CaptionsOfADroppedFileAppearOnAPlayingClip)
{
    const std::string clip = FixturePath("clip.mkv");
    const std::string second = FixturePath("clip.mp4");
    ASSERT_TRUE(QFile::exists(QString::fromStdString(clip))) << "the test clips could not be made";
    TempDir dir;
    const std::string sami = dir.write("dropped.smi", kSami);
    PlayerAppOptions options;
    options.skinFile = VELMO_SOURCE_DIR "/skin/default/skin.ini";
    options.settingsFile = dir.path("velmo_init.ini");
    options.mediaBackend = CreateGstMediaBackend();
    MessageBoxCapture messages;
    PlayerApp app(options);
    MainWindow window(app);
    window.OnInitDialog();
    QSignalSpy opened(&app.player, &Player::opened);
    window.OpenMedia(clip);
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }, 20000));
    EXPECT_FALSE(app.player.HasCaptions());

    Drop(window, {Local(sami)});
    EXPECT_TRUE(app.player.HasCaptions());
    EXPECT_EQ(app.player.MediumPath(), clip);
    EXPECT_TRUE(QTest::qWaitFor([&] { return app.player.Caption().text == QStringLiteral("첫 자막"); }, 5000))
        << "caption now: " << app.player.Caption().text.toStdString();

    Drop(window, {Local(second)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return opened.size() == 2; }, 20000));
    EXPECT_EQ(app.player.MediumPath(), second);
    EXPECT_FALSE(app.player.HasCaptions());
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace velmo::test
