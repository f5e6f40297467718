// The window's part of resuming: Enter takes the offer while it stands, any
// other command ends it first, and the recent list in the context menu.

#include "MainWindowFixture.h"

#include "app/CommandTable.h"
#include "resources/CommandIds.h"

#include <QFile>

namespace velmo::test {
namespace {

class ResumeTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
        window->show();
        app->player.SetResumeRules(ResumeRules{10.0, 0.05});
        clip = Media("long clip.avi", {20.0, 320, 240});
    }
    /// Opens the clip, leaves it at 12 s and opens it again: the offer stands.
    void LeaveAndReopen()
    {
        ASSERT_TRUE(OpenAndWait(clip));
        Graph()->positionSeconds = 12.0;
        window->OnCommand(ID_CLOSE_MEDIA);
        ASSERT_TRUE(OpenAndWait(clip));
        ASSERT_TRUE(app->player.ResumeOffered());
    }
    /// The "최근 파일" submenu as it would show now.
    QMenu *RecentMenu() { return window->BuildContextMenu()->actions().at(kFilterMenuIndex + 1)->menu(); }

    std::string clip;
};

TEST_F(ResumeTest, EnterTakesTheOfferInsteadOfTheFullScreen)
{
    LeaveAndReopen();
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_FALSE(Settings().fullScreenMode);
    EXPECT_EQ(Graph()->positionSeconds, 12.0);
    EXPECT_FALSE(app->player.ResumeOffered());
    window->OnCommand(ID_FULL_SCREEN); // the offer is gone: Enter is the full screen again
    EXPECT_TRUE(Settings().fullScreenMode);
}

TEST_F(ResumeTest, AnyOtherCommandEndsTheOfferAndStillDoesItsOwnWork)
{
    LeaveAndReopen();
    const int volume = app->player.VolumePosition();
    window->OnCommand(ID_VOLUME_DOWN);
    EXPECT_EQ(app->player.VolumePosition(), volume - 1);
    EXPECT_FALSE(app->player.ResumeOffered());
    window->OnCommand(ID_FULL_SCREEN);
    EXPECT_TRUE(Settings().fullScreenMode);
    EXPECT_EQ(Graph()->positionSeconds, 0.0);
}

TEST_F(ResumeTest, TheRecentListNamesMediaWithTheirPlaceOpensThemAndClears)
{
    ASSERT_TRUE(OpenAndWait(clip));
    Graph()->positionSeconds = 12.0;
    const std::string other = Media("a&b.avi", {20.0, 320, 240});
    ASSERT_TRUE(OpenAndWait(other)); // leaves the clip where it stood
    QMenu *recent = RecentMenu();
    ASSERT_TRUE(recent);
    const QList<QAction *> entries = recent->actions();
    ASSERT_EQ(entries.size(), 4); // two media, a separator, the clearing
    EXPECT_EQ(entries[0]->text(), QStringLiteral("a&&b.avi")); // never left: no place
    EXPECT_EQ(entries[1]->text(), QStringLiteral("long clip.avi    00:00:12"));
    EXPECT_EQ(entries.last()->data().toInt(), ID_RECENT_CLEAR);

    ASSERT_TRUE(CommandAndWait(ID_RECENT_FIRST + 1));
    EXPECT_EQ(app->player.MediumPath(), clip);

    // A medium that is gone stays listed; opening it says what the codec message says.
    window->OnCommand(ID_CLOSE_MEDIA);
    QFile::remove(QString::fromStdString(other));
    backend->script->media.erase(other);
    EXPECT_FALSE(CommandAndWait(ID_RECENT_FIRST + 1));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, QString::fromUtf8(kCodecMessage));
    EXPECT_EQ(RecentMenu()->actions().size(), 4);

    window->OnCommand(ID_RECENT_CLEAR);
    ASSERT_EQ(RecentMenu()->actions().size(), 1);
    EXPECT_EQ(RecentMenu()->actions()[0]->data().toInt(), ID_RECENT_CLEAR);
}

} // namespace
} // namespace velmo::test
