// The list's window with real widgets on the fake graph: Ctrl+L shows it
// beside the main window, a folder dropped fills it in natural order, a drag
// moves entries, Delete removes them, Enter plays one, the player's keys
// work there, and several files chosen to open join the list.

#include "MainWindowFixture.h"

#include "app/CommandTable.h"
#include "controls/PlaylistModel.h"
#include "controls/PlaylistPanel.h"
#include "resources/CommandIds.h"

#include <QApplication>
#include <QDropEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>

#include <set>

namespace velmo::test {
namespace {

class PlaylistPanelTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        window->OnInitDialog();
        window->show();
    }
    PlaylistPanel *Panel() const { return window->findChild<PlaylistPanel *>(); }
    QTreeView *View() const { return Panel()->view(); }
    QStringList Names() const
    {
        QStringList names;
        for (int row = 0; row < View()->model()->rowCount(); ++row)
            names << View()->model()->index(row, 0).data().toString();
        return names;
    }
    /// Drops `mime` on the list at the top edge of row `row` (past the last: below it).
    void DropAt(int row, QMimeData &mime, Qt::DropAction action)
    {
        QWidget *viewport = View()->viewport();
        const int rows = View()->model()->rowCount();
        const QRect item = rows == 0 ? QRect() : View()->visualRect(View()->model()->index(std::min(row, rows - 1), 0));
        const QPoint at = rows == 0 ? QPoint(10, 10) : row < rows ? item.topLeft() + QPoint(10, 1)
                                                                  : item.bottomLeft() + QPoint(10, 0);
        QDragEnterEvent enter(at, action, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, action, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &move);
        QDropEvent drop(QPointF(at), action, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &drop);
        QCoreApplication::processEvents();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(View(), Qt::Key(key), modifiers);
    }
    void Select(std::initializer_list<int> rows)
    {
        View()->selectionModel()->clearSelection();
        for (int row : rows)
            View()->selectionModel()->select(View()->model()->index(row, 0),
                                             QItemSelectionModel::Select | QItemSelectionModel::Rows);
        View()->selectionModel()->setCurrentIndex(View()->model()->index(*rows.begin(), 0), QItemSelectionModel::NoUpdate);
    }
};

TEST_F(PlaylistPanelTest, CtrlLShowsTheListBesideTheWindowAndTheMenuSaysSo)
{
    const auto menuEntry = [&] {
        for (QAction *action : window->BuildContextMenu()->findChildren<QAction *>())
            if (action->data().toInt() == ID_PLAYLIST)
                return action;
        return static_cast<QAction *>(nullptr);
    };
    ASSERT_TRUE(menuEntry());
    EXPECT_EQ(menuEntry()->text(), QStringLiteral("재생 목록      Ctrl + L"));
    EXPECT_FALSE(menuEntry()->isChecked());

    QTest::keyClick(window.get(), Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(Panel());
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_TRUE(Panel()->isWindow());
    EXPECT_EQ(Panel()->windowTitle(), QStringLiteral("재생 목록"));
    const QRect main = window->frameGeometry();
    const QRect list = Panel()->frameGeometry();
    EXPECT_FALSE(list.intersects(main)) << "beside, not over";
    EXPECT_EQ(list.top(), main.top());
    EXPECT_TRUE(menuEntry()->isChecked());
    // From the list's own window the key closes it again.
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_FALSE(Panel()->isVisible());
}

TEST_F(PlaylistPanelTest, ADroppedFolderFillsTheListAndADragMovesEntries)
{
    for (const char *name : {"show/ep10.mkv", "show/ep2.mkv", "show/ep1.mkv", "show/Extra 3.avi"})
        Media(name);
    dir.write("show/readme.txt", "x");
    window->OnCommand(ID_PLAYLIST);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.path("show")))});
    DropAt(0, files, Qt::CopyAction);
    EXPECT_EQ(Names(), QStringList({"ep1.mkv", "ep2.mkv", "ep10.mkv", "Extra 3.avi"}));

    // ep10 and Extra 3 dragged to the top, in their order, and left selected.
    Select({2, 3});
    std::unique_ptr<QMimeData> rows(View()->model()->mimeData(View()->selectionModel()->selectedIndexes()));
    DropAt(0, *rows, Qt::MoveAction);
    EXPECT_EQ(Names(), QStringList({"ep10.mkv", "Extra 3.avi", "ep1.mkv", "ep2.mkv"}));
    EXPECT_EQ(View()->selectionModel()->selectedRows().size(), 2);
    // A file dropped below the last entry joins at the end.
    QMimeData one;
    one.setUrls({QUrl::fromLocalFile(QString::fromStdString(Media("other/last.mkv")))});
    DropAt(99, one, Qt::CopyAction);
    EXPECT_EQ(Names().last(), QStringLiteral("last.mkv"));
}

TEST_F(PlaylistPanelTest, DeleteRemovesEnterPlaysAndThePlayersKeysWalkTheList)
{
    const std::string a = Media("a.mkv"), b = Media("b.mkv"), c = Media("c.mkv"), d = Media("d.mkv");
    app->player.AddToList({a, b, c, d});
    window->OnCommand(ID_PLAYLIST);
    Select({1, 2});
    Key(Qt::Key_Delete);
    EXPECT_EQ(Names(), QStringList({"a.mkv", "d.mkv"}));
    EXPECT_EQ(View()->currentIndex().row(), 1) << "the next to go is the one that took their place";

    Key(Qt::Key_Return);
    ASSERT_TRUE(WaitForOpen());
    EXPECT_EQ(app->player.MediumPath(), d);
    EXPECT_EQ(Names(), QStringList({"a.mkv", QStringLiteral("▶ d.mkv")}));

    // Ctrl+PgUp typed in the list's window is the player's key.
    Key(Qt::Key_PageUp, Qt::ControlModifier);
    ASSERT_TRUE(WaitForOpen());
    EXPECT_EQ(app->player.MediumPath(), a);
    EXPECT_EQ(Names(), QStringList({QStringLiteral("▶ a.mkv"), "d.mkv"}));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Panel()->isVisible());
}

// The window made while an entry plays repaints that entry when another plays.
TEST_F(PlaylistPanelTest, TheMarkLeavesTheEntryThatPlayedBeforeTheWindowWasMade)
{
    app->player.AddToList({Media("a.mkv"), Media("b.mkv")});
    app->player.PlayEntry(0);
    ASSERT_TRUE(WaitForOpen());
    window->OnCommand(ID_PLAYLIST);
    QSignalSpy changed(View()->model(), &QAbstractItemModel::dataChanged);
    ASSERT_TRUE(CommandAndWait(ID_NEXT_FILE));
    std::set<int> rows;
    for (const QList<QVariant> &change : changed)
        rows.insert(change.at(0).toModelIndex().row());
    EXPECT_EQ(rows, (std::set<int>{0, 1}));
    EXPECT_EQ(Names(), QStringList({"a.mkv", QStringLiteral("▶ b.mkv")}));
}

TEST_F(PlaylistPanelTest, SeveralFilesOpenedJoinTheListAndTheListIsSavedWhereChosen)
{
    const std::string one = Media("one.mkv"), two = Media("two.mkv");
    std::vector<std::string> answer = {one, two};
    MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFiles);
        return answer;
    });
    ASSERT_TRUE(CommandAndWait(ID_FILE_OPEN));
    EXPECT_EQ(app->player.MediumPath(), one);
    EXPECT_EQ(app->player.List().size(), 2u);
    EXPECT_EQ(app->player.List().Current(), 0u);

    MainWindowSeam::SetFileChooser(*window, [&](QFileDialog &dialog) {
        EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
        return dir.path("evening"); // no extension: an M3U8
    });
    window->OnCommand(ID_PLAYLIST_SAVE);
    EXPECT_EQ(dir.read("evening.m3u8"), "#EXTM3U\n#EXTINF:10,one.mkv\none.mkv\n#EXTINF:10,two.mkv\ntwo.mkv\n");
}

} // namespace
} // namespace velmo::test
