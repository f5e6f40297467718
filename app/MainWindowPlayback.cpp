// MainWindow's control of playback: the opens, the commands, the position
// timer and the graph's events.

#include "app/MainWindow.h"

#include "app/OpenUrlDialog.h"
#include "controls/PlaybackPanel.h"
#include "app/FileFilters.h"
#include "controls/PlaybackRules.h"
#include "app/PlayerApp.h"
#include "engine/MediaGraph.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
#include "subtitles/CaptionText.h"
#include "subtitles/CompanionSubtitle.h"
#include "subtitles/TimedTextReader.h"
#include "subtitles/SubtitleStyle.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

namespace velmo {

namespace {

std::string ChooseWithFileDialog(QWidget *parent, const QString &nameFilters)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(), nameFilters).toStdString();
}

} // namespace

std::string MainWindow::ChooseFile(const char *classicFilter)
{
    const QString filters = QtFileFilter(classicFilter);
    // The dialog has no parent, as the player has always shown it.
    return fileChooser_ ? fileChooser_(nullptr, filters) : ChooseWithFileDialog(nullptr, filters);
}

// ---- Opening

void MainWindow::OpenMedia(std::string path)
{
    RememberPosition(); // of the medium this open replaces
    if (!videoScreen_ || Failed(videoScreen_->LoadMedia(path))) {
        emit PlayerStateChanged(); // the graph has reported the failure and holds nothing
        return;
    }
    ClearAbRepeat();
    ApplyCaptionState();
    OnMediaOpened();
    const std::string subtitle = FindCompanionSubtitle(path);
    if (!subtitle.empty())
        mediaGraph_.AddSubtitleFile(subtitle);
    const QPoint topLeft = geometry().topLeft();
    ResetDisplays();
    FitToVideo(topLeft);
    RefreshPlayButtons();
    positionTimer_.start();
}

void MainWindow::FitToVideo(QPoint topLeft)
{
    if (style_.fullScreenMode || style_.filledScreenMode || mediaGraph_.videoWidth <= 0)
        return;
    const QSize fitted = FittedWindowSize(mediaGraph_.videoWidth, mediaGraph_.videoHeight, SkinMetrics::From(skinSet_));
    const QSize border = fitted - QSize(mediaGraph_.videoWidth, mediaGraph_.videoHeight);
    Reshape(KeepOnScreen(QRect(topLeft, fitted), border, AvailableScreenArea()));
}

void MainWindow::ResetDisplays()
{
    if (controlPanel_)
        controlPanel_->SetTimelinePosition(0);
    if (fullScreenPanel_)
        fullScreenPanel_->SetTimelinePosition(0);
    if (controlPanel_) {
        controlPanel_->SetTimeText(QStringLiteral("00:00:00 / 00:00:00"));
        controlPanel_->ShowPlayPicture();
    }
}

void MainWindow::OnFileOpen()
{
    const std::string path = ChooseFile(kMediaFileFilter);
    if (!path.empty())
        OpenMedia(path);
}

void MainWindow::OnOpenAddress()
{
    OpenUrlDialog dialog(this);
    if (dialog.exec() == QDialog::Accepted && !dialog.address.empty())
        OpenMedia(dialog.address);
}

void MainWindow::OnOpenSubtitle()
{
    if (!mediaGraph_.graph)
        return;
    const std::string path = ChooseFile(kSubtitleFileFilter);
    if (!path.empty())
        AddSubtitleToMedia(path);
}

void MainWindow::AddSubtitleToMedia(const std::string &path)
{
    if (!mediaGraph_.graph || !mediaGraph_.control)
        return;
    // Playback runs afterwards, even when it was paused before.
    mediaGraph_.control->Pause();
    mediaGraph_.AddSubtitleFile(path);
    mediaGraph_.control->Run();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

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
    if (mediaGraph_.graph && IsCaptionFile(first)) {
        AddSubtitleToMedia(path);
        return;
    }
    OpenMedia(path);
}

// ---- Transport, jumps and rate

void MainWindow::RefreshPlayButtons()
{
    if (controlPanel_)
        controlPanel_->RefreshPlayButton();
    if (fullScreenPanel_)
        fullScreenPanel_->RefreshPlayButton();
    emit PlayerStateChanged();
}

void MainWindow::SetControlTimeline(int value)
{
    if (controlPanel_)
        controlPanel_->SetTimelinePosition(value);
}

// Both panels show the new state, whichever of them is on the screen: the
// full-screen panel is the one a user sees while the keys act in full screen.
void MainWindow::OnPlayPause()
{
    if (controlPanel_)
        controlPanel_->TogglePlayPause();
    else
        TogglePlayback(mediaGraph_); // a skin without a control panel still plays and pauses
    RefreshPlayButtons();
}

void MainWindow::OnStop()
{
    if (!mediaGraph_.graph)
        return;
    if (mediaGraph_.control)
        mediaGraph_.control->Stop();
    RefreshPlayButtons();
}

void MainWindow::OnCloseMedia()
{
    if (mediaGraph_.graph) {
        RememberPosition();
        mediaGraph_.Close();
        if (videoScreen_)
            videoScreen_->Invalidate(true);
        ResetDisplays();
    }
    positionTimer_.stop();
    SetControlTimeline(0);
    ClearAbRepeat();
    emit PlayerStateChanged();
}

void MainWindow::OnJump(int id)
{
    if (!mediaGraph_.graph || !mediaGraph_.position)
        return;
    if (id == ID_JUMP_START) {
        mediaGraph_.position->put_CurrentPosition(0.0);
        SetControlTimeline(0);
        emit PositionJumped();
        return;
    }
    double duration = 0.0;
    // Without a known length there is no middle or end to go to.
    if (Failed(mediaGraph_.position->get_Duration(&duration)) || !(duration > 0))
        return;
    if (id == ID_JUMP_MIDDLE) {
        mediaGraph_.position->put_CurrentPosition(duration * 0.5);
        SetControlTimeline(50);
    } else {
        const double target = JumpEndPosition(duration);
        mediaGraph_.position->put_CurrentPosition(target);
        SetControlTimeline(TimelinePercent(target, duration));
    }
    emit PositionJumped();
}

void MainWindow::SeekTo(double seconds)
{
    if (!mediaGraph_.graph || !mediaGraph_.position)
        return;
    mediaGraph_.position->put_CurrentPosition(seconds);
    double duration = 0.0;
    mediaGraph_.position->get_Duration(&duration);
    SetControlTimeline(TimelinePercent(seconds, duration));
    emit PositionJumped();
}

void MainWindow::OnSeek(int id)
{
    if (!mediaGraph_.graph)
        return;
    const bool forward = id == ID_FORWARD_5S || id == ID_FORWARD_30S;
    const uint64_t amount = (id == ID_FORWARD_5S || id == ID_BACK_5S) ? 50'000'000 : 300'000'000;
    mediaGraph_.SeekBy(amount, forward);
    emit PositionJumped();
}

void MainWindow::OnRepeat()
{
    style_.repeatMode = !style_.repeatMode;
}

void MainWindow::OnRate(double rate)
{
    if (mediaGraph_.seeking)
        mediaGraph_.seeking->SetRate(rate);
    emit PlayerStateChanged();
}

// ---- Volume, mute and hide

void MainWindow::ApplyVolumePosition(int position)
{
    if (SetVolumeFromPosition(position, style_, mediaGraph_) && controlPanel_)
        controlPanel_->InvalidateVolumeSlider();
    emit PlayerStateChanged();
}

void MainWindow::SetVolumePosition(int position)
{
    if (controlPanel_)
        controlPanel_->SetVolumePosition(position);
    ApplyVolumePosition(position);
}

void MainWindow::OnVolumeStep(int step)
{
    int position = 0;
    if (controlPanel_) {
        controlPanel_->SetVolumePosition(controlPanel_->VolumePosition() + step);
        position = controlPanel_->VolumePosition();
    } else {
        // No slider to step: step the level it would show.
        position = std::clamp((style_.volumeLevel + 10000) / 100 + step, 0, 100);
    }
    ApplyVolumePosition(position);
}

void MainWindow::ToggleMute()
{
    style_.soundEnabled = !style_.soundEnabled;
    if (mediaGraph_.graph && mediaGraph_.basicAudio)
        mediaGraph_.basicAudio->put_Volume(style_.soundEnabled ? style_.volumeLevel : kVolumeSilent);
    emit PlayerStateChanged();
}

void MainWindow::ToggleHide()
{
    if (!mediaGraph_.graph)
        return;
    if (style_.hiddenMode) {
        ToggleMute();
        if (mediaGraph_.control)
            mediaGraph_.control->Run();
        style_.hiddenMode = false;
    } else {
        showMinimized();
        ToggleMute();
        if (mediaGraph_.control)
            mediaGraph_.control->Pause();
        style_.hiddenMode = true;
    }
    RefreshPlayButtons();
}

// ---- Timer, events and exit

void MainWindow::OnTimer()
{
    RememberWhilePlaying();
    if (mediaGraph_.graph) {
        if (controlPanel_)
            controlPanel_->UpdateTime();
        if (fullScreenPanel_)
            fullScreenPanel_->UpdateTime();
    }
    if (mediaGraph_.subtitleLoaded && style_.subtitleVisible && videoScreen_)
        videoScreen_->DrawSubtitle(style_);
    CheckAbRepeat();
}

void MainWindow::OnMediaEvent()
{
    if (!mediaGraph_.graph || !mediaGraph_.events)
        return;
    int32_t code = 0;
    EventParam first;
    EventParam second;
    // The facet is read anew each time: a repeat replaces the graph in the middle of the drain.
    while (mediaGraph_.events && Succeeded(mediaGraph_.events->GetEvent(&code, &first, &second, 0))) {
        if (code == EC_COMPLETE && !style_.repeatMode) {
            emit PlaybackEnded();
            if (!mediaGraph_.graph)
                return; // whoever heard it closed the media
            if (PlayNextInFolder() && !mediaGraph_.graph)
                return;
            RefreshPlayButtons(); // the graph may have left the running state at the end
        } else if (code == EC_COMPLETE && style_.repeatMode) {
            OpenMedia(std::string(mediaGraph_.mediaPath));
            if (!mediaGraph_.graph)
                return;
        } else if (code == EC_ERRORABORT) {
            // The graph has stopped; playback ends as at the end of the media,
            // without a repeat, and the buttons offer to play again.
            positionTimer_.stop();
            RefreshPlayButtons();
            if (static_cast<HResult>(first.value) == VFW_E_TIMEOUT && videoScreen_)
                videoScreen_->ShowMessage(QStringLiteral("연결이 끊겼습니다"), kConnectionLostMs);
        } else if (code == EC_VIDEO_SIZE_CHANGED) {
            // A size learnt after the open fits the window as the open would have.
            if (mediaGraph_.RefreshVideoSize())
                FitToVideo(geometry().topLeft());
        } else if (code == EC_OLE_EVENT && style_.subtitleVisible && videoScreen_) {
            const QString caption = CleanCaption(second.text);
            style_.subtitleText.clear();
            style_.subtitleMarkup.clear();
            videoScreen_->RedrawErase(); // wipes the previous caption
            style_.subtitleText = caption;
            style_.subtitleMarkup = second.text;
            videoScreen_->DrawSubtitle(style_);
        }
        if (mediaGraph_.events)
            mediaGraph_.events->FreeEventParams(code, &first, &second);
    }
}

void MainWindow::OnExit()
{
    RememberPosition();
    if (mediaGraph_.graph)
        mediaGraph_.Close();
    positionTimer_.stop();
    emit PlayerStateChanged();
    PlayerApp::EndProcess(1);
}

} // namespace velmo
