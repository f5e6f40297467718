// MainWindow and the playlist: its window beside this one, its menu, and the
// commands that need a file dialog.

#include "app/MainWindow.h"

#include "app/CommandTable.h"
#include "app/FileFilters.h"
#include "app/OpenDialog.h"
#include "controls/PlaylistPanel.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "text/PlaylistFile.h"

#include <QFileDialog>

namespace velmo {

namespace {

// The list's window: as tall as the main window, this wide, this far from it.
constexpr int kPlaylistWidth = 360;
constexpr int kPlaylistGap = 8;

const QStringList &ListSaveFilters()
{
    static const QStringList filters = {QStringLiteral("M3U8 재생 목록 (*.m3u8)"), QStringLiteral("M3U 재생 목록 (*.m3u)"),
                                        QStringLiteral("PLS 재생 목록 (*.pls)")};
    return filters;
}

} // namespace

void MainWindow::TogglePlaylist()
{
    if (!playlistPanel_) {
        playlistPanel_ = new PlaylistPanel(skinSet_, player_, this);
        connect(playlistPanel_, &PlaylistPanel::Command, this, &MainWindow::OnCommand, Qt::QueuedConnection);
        connect(playlistPanel_, &PlaylistPanel::MenuRequested, this, &MainWindow::ShowPlaylistMenu);
        PlacePlaylist();
    }
    if (playlistPanel_->isVisible()) {
        playlistPanel_->hide();
        return;
    }
    playlistPanel_->show();
    playlistPanel_->raise();
    playlistPanel_->activateWindow();
}

bool MainWindow::PlaylistShown() const
{
    return playlistPanel_ && playlistPanel_->isVisible();
}

void MainWindow::PlacePlaylist()
{
    const QRect main = frameGeometry();
    const QRect free = AvailableScreenArea();
    int x = main.right() + 1 + kPlaylistGap;
    // No room on the right: the left side, else against the screen's right edge.
    if (free.isValid() && x + kPlaylistWidth - 1 > free.right())
        x = main.left() - kPlaylistGap - kPlaylistWidth >= free.left() ? main.left() - kPlaylistGap - kPlaylistWidth
                                                                        : free.right() + 1 - kPlaylistWidth;
    playlistPanel_->resize(kPlaylistWidth, std::max(geometry().height(), 240));
    playlistPanel_->move(x, main.top()); // the frame's place, as the main window's
}

void MainWindow::ShowPlaylistMenu(QPoint globalPos)
{
    QMenu menu;
    FillMenu(menu, PlaylistMenuEntries());
    QAction *chosen = menu.exec(globalPos);
    if (chosen && chosen->data().toInt() != 0)
        OnCommand(chosen->data().toInt());
}

void MainWindow::OnAddFilesToList()
{
    const std::vector<std::string> chosen = ChooseFiles(MediaDialogFilters(), true);
    if (!chosen.empty())
        player_.AddToList(chosen);
}

void MainWindow::OnSaveList()
{
    QFileDialog dialog;
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(ListSaveFilters());
    dialog.setDefaultSuffix(QStringLiteral("m3u8"));
    // The suffix follows the format chosen.
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString &filter) {
        const qsizetype dot = filter.lastIndexOf(QLatin1Char('.'));
        dialog.setDefaultSuffix(filter.mid(dot + 1).chopped(1));
    });
    const std::string playing = player_.HasMedium() ? player_.MediumPath() : std::string();
    dialog.setDirectory(DialogStartFolder(playing, settings_.lastFolder));
    dialog.selectFile(QStringLiteral("재생 목록.m3u8"));
    const std::vector<std::string> chosen = RunChooser(dialog);
    if (chosen.empty())
        return;
    // A name without a list's extension gets the M3U8 one.
    std::string path = chosen.front();
    if (!IsPlaylistFileName(path))
        path += ".m3u8";
    player_.SaveList(path);
}

} // namespace velmo
