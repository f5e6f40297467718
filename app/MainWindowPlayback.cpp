// MainWindow and the player: what the window shows of it, the opens, drops
// and the commands that need the window.

#include "app/MainWindow.h"

#include "app/FileFilters.h"
#include "app/MessageBox.h"
#include "app/OpenDialog.h"
#include "app/OpenUrlDialog.h"
#include "app/PlayerApp.h"
#include "controls/ControlPanel.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "resources/CommandIds.h"
#include "screen/VideoScreen.h"
#include "subtitles/SubtitleStyle.h"
#include "subtitles/TimedTextReader.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace velmo {

// ---- What the window shows of the player

void MainWindow::ListenToPlayer()
{
    player_.SetPictureOwner(videoScreen_);
    connect(videoScreen_, &VideoScreen::AreaChanged, &player_,
            [this](const QRect &r) { player_.SetPictureArea(r.x(), r.y(), r.width(), r.height()); });
    connect(&player_, &Player::opened, this, &MainWindow::OnOpened);
    connect(&player_, &Player::failed, this, [this](const QString &message) { ShowMessageBox(this, message); });
    connect(&player_, &Player::stateChanged, this, &MainWindow::OnPlayerState);
    connect(&player_, &Player::closed, this, &MainWindow::OnPlayerState);
    connect(&player_, &Player::videoSizeChanged, this, [this] {
        KeepPictureSize();
        FitToVideo(geometry().topLeft());
    });
    connect(&player_, &Player::captionChanged, this, &MainWindow::OnCaptionChanged);
    // A resize wipes the caption layer: the next tick draws it again.
    connect(&player_, &Player::ticked, this, &MainWindow::DrawCaption);
    // The list played through and its end is to end the program: after the end's own handling.
    connect(&player_, &Player::quitRequested, this, [this] { OnCommand(ID_EXIT); }, Qt::QueuedConnection);
    videoScreen_->SetTypesetSource([this](int64_t ms, const QSize &pixels, TypesetLayer *layer) {
        return player_.DrawTypeset(ms, pixels, layer);
    });
    connect(&player_, &Player::message, this, [this](const QString &text, int durationMs) {
        videoScreen_->ShowMessage(text, durationMs > 0 ? durationMs : VideoScreen::kMessageMs);
    });
}

void MainWindow::OnOpened()
{
    KeepPictureSize();
    OnPlayerState();
    const QRect area = videoScreen_->rect();
    player_.SetPictureArea(area.x(), area.y(), area.width(), area.height());
    FitToVideo(geometry().topLeft());
}

void MainWindow::OnPlayerState()
{
    videoScreen_->SetMedium(player_.HasMedium(), !player_.VideoSize().isEmpty());
}

void MainWindow::OnCaptionChanged()
{
    if (!style_.subtitleVisible)
        return;
    videoScreen_->RedrawErase(); // wipes the previous caption
    DrawCaption();
}

void MainWindow::DrawCaption()
{
    if (!videoScreen_)
        return;
    // A choice, the offset or the captions' visibility may have changed
    // while no frame came (paused): the typeset captions follow here.
    videoScreen_->RefreshTypeset();
    if (player_.HasCaptions() && style_.subtitleVisible)
        videoScreen_->DrawSubtitle(player_.Caption());
}

void MainWindow::KeepPictureSize()
{
    // Sound-only media keep the window at the last picture's size, fits and presets alike.
    if (!player_.VideoSize().isEmpty())
        pictureSize_ = player_.VideoSize();
}

void MainWindow::FitToVideo(QPoint topLeft)
{
    const QSize video = pictureSize_;
    if (settings_.CoversScreen() || video.isEmpty())
        return;
    const QSize fitted = FittedWindowSize(video.width(), video.height(), SkinMetrics::From(skinSet_));
    Reshape(KeepOnScreen(QRect(topLeft, fitted), fitted - video, AvailableScreenArea()));
}

// ---- Opening

namespace {

// Whatever its name, a file the caption reader accepts is a subtitle. A file
// past the reader's limit is refused without reading it, so dropping a film
// costs nothing.
bool IsCaptionFile(const QUrl &url)
{
    if (!url.isLocalFile())
        return false;
    const QFileInfo file(url.toLocalFile());
    return file.isFile() && file.size() <= kMaxSamiFileBytes && ReadCaptionFile(url.toLocalFile().toStdString()).ok;
}

} // namespace

std::vector<std::string> MainWindow::RunChooser(QFileDialog &dialog)
{
    return fileChooser_ ? fileChooser_(dialog).paths : RunOpenDialog(dialog);
}

std::vector<std::string> MainWindow::ChooseFiles(const QStringList &nameFilters, bool many)
{
    // The dialog has no parent, as the player has always shown it.
    QFileDialog dialog;
    const std::string playing = player_.HasMedium() ? player_.MediumPath() : std::string();
    PrepareOpenDialog(dialog, nameFilters, DialogStartFolder(playing, settings_.lastFolder));
    if (many)
        dialog.setFileMode(QFileDialog::ExistingFiles);
    const std::vector<std::string> chosen = RunChooser(dialog);
    const std::string folder = chosen.empty() ? std::string() : FolderOf(chosen.front());
    if (!folder.empty() && folder != settings_.lastFolder) {
        settings_.lastFolder = folder;
        settings_.SaveOptions();
    }
    return chosen;
}

std::string MainWindow::ChooseFile(const QStringList &nameFilters)
{
    const std::vector<std::string> chosen = ChooseFiles(nameFilters, false);
    return chosen.empty() ? std::string() : chosen.front();
}

void MainWindow::OpenMedia(const std::string &path)
{
    player_.Open(path);
}

void MainWindow::OnFileOpen()
{
    const std::vector<std::string> chosen = ChooseFiles(MediaDialogFilters(), true);
    if (chosen.empty())
        return;
    if (chosen.size() == 1) {
        OpenMedia(chosen.front());
        return;
    }
    // Several files join the list, and the first of them plays.
    const size_t first = player_.List().size();
    player_.AddToList(chosen);
    player_.PlayEntry(first);
}

void MainWindow::OnOpenAddress()
{
    OpenUrlDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted && !dialog.address.empty())
        OpenMedia(dialog.address);
}

void MainWindow::OnOpenSubtitle()
{
    if (!player_.HasMedium())
        return;
    const std::string path = ChooseFile(SubtitleDialogFilters());
    if (!path.empty())
        player_.AddCaptionFile(path);
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    // Only the first of several dropped files counts.
    const QUrl &first = urls.front();
    event->acceptProposedAction();
    const std::string path = first.isLocalFile() ? first.toLocalFile().toStdString() : first.toString().toStdString();
    // A subtitle dropped on open media joins it, as one chosen with the
    // subtitle command does, instead of failing to open as media.
    if (player_.HasMedium() && IsCaptionFile(first)) {
        player_.AddCaptionFile(path);
        return;
    }
    OpenMedia(path);
}

void MainWindow::OnCloseMedia()
{
    player_.Close();
}

// ---- Volume, hide and exit

void MainWindow::OnVolumeStep(int step)
{
    // With a slider, the step is the slider's; without one, the level's it would show.
    const int from = controlPanel_ ? controlPanel_->VolumePosition() : player_.VolumePosition();
    player_.SetVolumePosition(std::clamp(from + step, 0, 100));
}

void MainWindow::ToggleHide()
{
    if (!player_.HasMedium())
        return;
    if (settings_.hiddenMode) {
        player_.SetMuted(!player_.Muted());
        player_.Play();
        settings_.hiddenMode = false;
    } else {
        showMinimized();
        player_.SetMuted(!player_.Muted());
        player_.Pause();
        settings_.hiddenMode = true;
    }
}

void MainWindow::OnExit()
{
    player_.Close();
    PlayerApp::EndProcess(1);
}

} // namespace velmo
