// The main window's commands for watching: the folder as a playlist,
// continuous play, speed, the A-B loop, frame steps and the screenshot.

#include "app/MainWindow.h"

#include "app/FolderPlaylist.h"
#include "app/PlaybackRate.h"
#include "app/Screenshot.h"
#include "controls/PlaybackPanel.h"
#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "screen/VideoScreen.h"
#include "subtitles/SubtitleOverlay.h"
#include "subtitles/SubtitleStyle.h"

#include <QBuffer>
#include <QLoggingCategory>
#include <QPainter>

#include <cmath>

namespace velmo {

Q_LOGGING_CATEGORY(lcWatching, "velmo.app.watching")

namespace {

bool IsAddress(const std::string &path)
{
    return path.find("://") != std::string::npos;
}

} // namespace

void MainWindow::ShowMessage(const QString &text)
{
    if (videoScreen_)
        videoScreen_->ShowMessage(text);
}

// ---- The folder as a playlist

void MainWindow::OnFolderStep(int id)
{
    const std::string &current = mediaGraph_.mediaPath;
    if (current.empty() || IsAddress(current))
        return; // an address has no folder
    const FolderStep step = NeighbourInFolder(current, id == ID_NEXT_FILE ? +1 : -1);
    if (!step.readable)
        ShowMessage(QStringLiteral("폴더를 읽을 수 없습니다"));
    else if (step.atEnd)
        ShowMessage(id == ID_NEXT_FILE ? QStringLiteral("다음 파일이 없습니다") : QStringLiteral("이전 파일이 없습니다"));
    else
        OpenMedia(step.path);
}

void MainWindow::OnContinuousPlay()
{
    style_.continuousPlay = !style_.continuousPlay;
    if (!style_.SaveOptions())
        qCWarning(lcWatching, "continuous play could not be saved in the settings file");
}

bool MainWindow::PlayNextInFolder()
{
    if (!style_.continuousPlay || IsAddress(mediaGraph_.mediaPath))
        return false;
    const FolderStep step = NeighbourInFolder(mediaGraph_.mediaPath, +1);
    if (step.path.empty())
        return false;
    OpenMedia(step.path);
    return true;
}

// ---- Speed

void MainWindow::OnSpeed(int id)
{
    if (!mediaGraph_.seeking)
        return;
    double rate = 1.0;
    mediaGraph_.seeking->GetRate(&rate);
    const int hundredths = RateAfter(id, RateHundredths(rate));
    if (Succeeded(mediaGraph_.seeking->SetRate(hundredths / 100.0)))
        ShowMessage(RateMessage(hundredths));
}

// ---- A-B repeat

void MainWindow::OnAbRepeat()
{
    double seconds = 0.0;
    if (!mediaGraph_.graph || !mediaGraph_.position || Failed(mediaGraph_.position->get_CurrentPosition(&seconds)))
        return;
    abLastTickMs_ = std::llround(seconds * 1000.0);
    ShowMessage(abRepeat_.Press(abLastTickMs_));
    ShowAbRange();
    // Playback stands at B now: the loop begins at once.
    if (abRepeat_.state() == AbRepeat::State::Looping && abLastTickMs_ >= abRepeat_.b())
        ReturnToA();
}

void MainWindow::ShowAbRange()
{
    double from = 0.0;
    double to = 0.0;
    double duration = 0.0;
    if (abRepeat_.state() == AbRepeat::State::Looping && mediaGraph_.position &&
        Succeeded(mediaGraph_.position->get_Duration(&duration)) && duration > 0) {
        from = abRepeat_.a() / 1000.0 / duration;
        to = abRepeat_.b() / 1000.0 / duration;
    }
    for (PlaybackPanel *panel : {controlPanel_, fullScreenPanel_})
        if (panel)
            panel->SetMarkedRange(from, to);
}

void MainWindow::ReturnToA()
{
    constexpr int64_t kUnitsPerMs = 10'000; // the seeking facet counts 100 ns units
    int64_t target = abRepeat_.a() * kUnitsPerMs;
    if (mediaGraph_.seeking)
        mediaGraph_.seeking->SetPositions(&target, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    abLastTickMs_ = abRepeat_.a();
}

void MainWindow::ClearAbRepeat()
{
    if (abRepeat_.state() == AbRepeat::State::Off)
        return;
    abRepeat_.Clear();
    ShowAbRange();
}

void MainWindow::CheckAbRepeat()
{
    double seconds = 0.0;
    if (abRepeat_.state() != AbRepeat::State::Looping || !mediaGraph_.position ||
        Failed(mediaGraph_.position->get_CurrentPosition(&seconds)))
        return;
    const int64_t now = std::llround(seconds * 1000.0);
    if (abRepeat_.Passed(abLastTickMs_, now)) {
        ReturnToA();
        return;
    }
    abLastTickMs_ = now;
}

// ---- Frame steps

void MainWindow::OnFrameStep(int id)
{
    if (!mediaGraph_.graph || !mediaGraph_.frames || !mediaGraph_.control)
        return;
    int32_t state = State_Stopped;
    if (Succeeded(mediaGraph_.control->GetState(0, &state)) && state == State_Running) {
        mediaGraph_.control->Pause();
        RefreshPlayButtons();
    }
    if (id == ID_FRAME_NEXT)
        mediaGraph_.frames->StepForward();
    else
        mediaGraph_.frames->StepBack();
}

// ---- Screenshot

void MainWindow::OnScreenshot()
{
    if (!mediaGraph_.graph)
        return;
    QImage picture;
    int64_t positionMs = 0;
    if (!mediaGraph_.frames || Failed(mediaGraph_.frames->GrabPicture(&picture, &positionMs))) {
        ShowMessage(QStringLiteral("화면 저장 실패: 그림이 없습니다"));
        return;
    }
    // The caption as it would be drawn over a screen of the picture's size.
    if (style_.subtitleVisible && videoScreen_ && videoScreen_->HasSubtitleLayer()) {
        const QImage caption = DrawSubtitleLayer(picture.size(), style_.subtitleText, style_);
        if (!caption.isNull()) {
            QPainter painter(&picture);
            painter.drawImage(0, 0, caption);
        }
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    const std::string name = ScreenshotName(mediaGraph_.mediaPath, positionMs);
    std::string error;
    if (!WritePictureFile(PicturesFolder() + "/Velmo/" + name, png, &error)) {
        qCWarning(lcWatching, "the screenshot could not be written: %s", error.c_str());
        ShowMessage(QStringLiteral("화면 저장 실패: ") + QString::fromLocal8Bit(error));
        return;
    }
    ShowMessage(QStringLiteral("화면 저장: ") + QString::fromUtf8(name));
}

} // namespace velmo
