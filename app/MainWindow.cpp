#include "app/MainWindow.h"

#include "app/AcceleratorFilter.h"
#include "app/PlayerApp.h"
#include "app/PlayerMessage.h"
#include "resources/ProgramIcon.h"
#include "controls/ControlPanel.h"
#include "controls/FullScreenPanel.h"
#include "controls/TitleBar.h"
#include "player/Player.h"
#include "player/PlayerSettings.h"
#include "screen/VideoScreen.h"
#include "resources/CommandIds.h"
#include "resources/DialogTemplates.h"
#include "resources/DialogUnits.h"
#include "subtitles/SubtitleStyle.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

#include <utility>

namespace velmo {

MainWindow::MainWindow(PlayerApp &app, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint),
      skinSet_(app.skinSet),
      style_(app.subtitleStyle),
      settings_(app.playerSettings),
      player_(app.player),
      icon_(ProgramIcon())
{
    const DialogTemplate &t = kMainWindowTemplate;
    const QFont font = TemplateFont(t.fontFace, t.pointSize);
    setFont(font);
    // The caption stays the window's name for the task bar; there is no caption bar.
    setWindowTitle(QString::fromUtf8(t.caption));
    setWindowIcon(icon_);
    setAcceptDrops(true);
    setMinimumSize(kMinimumWindowSize);
    setMouseTracking(true);

    QRect frame(QPoint(0, 0), DialogSizeToPixels(t.width, t.height, DialogBaseUnits(font)));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        frame.moveCenter(screen->availableGeometry().center());
    setGeometry(frame);
    normalGeometry_ = frame;
}

MainWindow::~MainWindow() = default;

bool MainWindow::OnInitDialog()
{
    // The system menu has no counterpart here, so the about item is not appended.
    setWindowIcon(icon_);

    videoScreen_ = new VideoScreen(skinSet_, style_, this);
    ListenToPlayer();
    // The full-screen bar and panel lie over the picture, hidden until the pointer nears their edge.
    auto *fullScreenTitleBar = new FullScreenTitleBar(skinSet_, videoScreen_);
    fullScreenTitleBar->hide();
    ConnectTitleBar(fullScreenTitleBar);
    auto *fullScreenPanel = new FullScreenPanel(skinSet_, player_, videoScreen_);
    fullScreenPanel->hide();
    ConnectPanel(fullScreenPanel);
    videoScreen_->fullScreenTitleBar = fullScreenTitleBar;
    videoScreen_->fullScreenPanel = fullScreenPanel;
    fullScreenPanel_ = fullScreenPanel;
    videoScreen_->show();
    if (skinSet_.topPanelPlacement.shown) {
        auto *titleBar = new TitleBar(skinSet_, this);
        ConnectTitleBar(titleBar);
        titleBar->show();
        titleBar_ = titleBar;
    }
    if (skinSet_.controlPanelPlacement.shown) {
        auto *controlPanel = new ControlPanel(skinSet_, player_, this);
        ConnectPanel(controlPanel);
        controlPanel->show();
        controlPanel_ = controlPanel;
    }
    LayOut();
    // Accelerator table 136, wherever the focus is in this window.
    accelerators_ = new AcceleratorFilter(this, [this](int id) { OnCommand(id); });

    if (!settings_.startupPath.empty())
        OpenMedia(settings_.startupPath);
    return true;
}

void MainWindow::ConnectPanel(ControlPanel *panel)
{
    // Queued, so a button's press handler has returned before a dialog opens.
    connect(panel, &ControlPanel::Command, this, &MainWindow::OnCommand, Qt::QueuedConnection);
}

void MainWindow::ConnectTitleBar(TitleBar *bar)
{
    connect(bar, &TitleBar::Command, this, &MainWindow::OnCommand, Qt::QueuedConnection);
    connect(bar, &TitleBar::ExitProcess, this, [](int code) { PlayerApp::EndProcess(code); });
}

void MainWindow::SetPanels(ControlPanel *controlPanel, ControlPanel *fullScreenPanel, QWidget *titleBar)
{
    // Panels this window made and no longer uses go with it.
    const auto drop = [](QWidget *old, QWidget *replacement) {
        if (old && old != replacement)
            old->deleteLater();
    };
    drop(controlPanel_, controlPanel);
    drop(fullScreenPanel_, fullScreenPanel);
    drop(titleBar_, titleBar);
    controlPanel_ = controlPanel;
    fullScreenPanel_ = fullScreenPanel;
    titleBar_ = titleBar;
    if (videoScreen_)
        videoScreen_->fullScreenPanel = fullScreenPanel;
    LayOut();
}

ClientRect MainWindow::CurrentClientRect() const
{
    return {0, 0, width(), height()};
}

void MainWindow::LayOut()
{
    clientRect_ = CurrentClientRect();
    skinSet_.mainClientRect = clientRect_;
    const bool coverScreen = settings_.CoversScreen();
    const QSize screenSize = screen() ? screen()->geometry().size() : size();
    const MainLayout layout = ComputeMainLayout(clientRect_, coverScreen, screenSize, SkinMetrics::From(skinSet_));
    // A minimised window has an empty client area and the formulas give negative sizes.
    const auto clamped = [](QRect r) { return QRect(r.x(), r.y(), std::max(r.width(), 0), std::max(r.height(), 0)); };
    if (videoScreen_) {
        videoScreen_->setGeometry(clamped(layout.videoScreen));
        if (coverScreen)
            videoScreen_->raise(); // the picture goes over everything
    }
    if (titleBar_ && layout.titleBar)
        titleBar_->setGeometry(clamped(*layout.titleBar));
    if (controlPanel_ && layout.controlPanel)
        controlPanel_->setGeometry(clamped(*layout.controlPanel));
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    // The children cover the client area; what they leave free stays dark.
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
}

bool MainWindow::event(QEvent *event)
{
    if (event->type() == NotifyEventType(WM_PLAYER_VOLUME)) {
        const auto *message = dynamic_cast<PlayerMessage *>(event);
        player_.SetVolumePosition(message ? static_cast<int>(message->lParam) : 0);
        return true;
    }
    if (event->type() == NotifyEventType(WM_PLAYER_SUBTITLE_CHANGED)) {
        if (videoScreen_)
            videoScreen_->Invalidate(true);
        return true;
    }
    return QWidget::event(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // The window manager's close is the exit command.
    event->ignore();
    OnCommand(ID_EXIT);
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        const auto *change = static_cast<QWindowStateChangeEvent *>(event);
        const bool restored = (change->oldState() & Qt::WindowMinimized) && !(windowState() & Qt::WindowMinimized);
        // Restoring a hidden player brings the media back as it was.
        if (restored && settings_.hiddenMode)
            ToggleHide();
    }
    QWidget::changeEvent(event);
}

// ---- Window modes and size presets

void MainWindow::OnFullScreen()
{
    settings_.filledScreenMode = false;
    player_.SetStretched(false);
    settings_.fullScreenMode = !settings_.fullScreenMode;
    ApplyWindowMode();
}

void MainWindow::OnFilledScreen()
{
    settings_.fullScreenMode = false;
    settings_.filledScreenMode = !settings_.filledScreenMode;
    player_.SetStretched(settings_.filledScreenMode);
    ApplyWindowMode();
}

void MainWindow::ApplyWindowMode()
{
    const bool coverScreen = settings_.CoversScreen();
    // The normal mode's panels show beside the picture; the full-screen ones
    // lie over it, hidden until the pointer nears their edge. Both follow the
    // player, so the one entered shows what the one left showed.
    if (controlPanel_)
        controlPanel_->setVisible(!coverScreen);
    if (titleBar_)
        titleBar_->setVisible(!coverScreen);
    if (!coverScreen && fullScreenPanel_)
        fullScreenPanel_->hide();
    if (videoScreen_) {
        videoScreen_->SetCoversScreen(coverScreen);
        if (!coverScreen && videoScreen_->fullScreenTitleBar)
            videoScreen_->fullScreenTitleBar->hide();
    }
    if (coverScreen) {
        if (!coveringScreen_) {
            normalGeometry_ = geometry();
            coveringScreen_ = true;
        }
        showFullScreen();
        // A window manager covers the screen by itself; without one, do it by hand
        // once it has had the time to act.
        QTimer::singleShot(kCoverCheckDelayMs, this, &MainWindow::EnsureCoveringScreen);
    } else {
        const bool wasCovering = std::exchange(coveringScreen_, false);
        showNormal();
        // Without a window manager nothing remembers the earlier place: restore it here.
        if (wasCovering)
            Reshape(normalGeometry_);
    }
    LayOut();
}

void MainWindow::EnsureCoveringScreen()
{
    if (!coveringScreen_ || !screen())
        return;
    const QRect all = screen()->geometry();
    if (geometry() != all)
        Reshape(all);
}

QRect MainWindow::AvailableScreenArea() const
{
    if (availableAreaForTests_.isValid())
        return availableAreaForTests_;
    QScreen *on = screen() ? screen() : QGuiApplication::primaryScreen();
    return on ? on->availableGeometry() : QRect();
}

void MainWindow::Reshape(const QRect &geometry)
{
    setGeometry(geometry);
    // A hidden window gets no resize event until it is shown: lay out now.
    LayOut();
}

void MainWindow::OnSizePreset(int id)
{
    const QSize video = pictureSize_;
    if (!player_.HasMedium() || video.isEmpty())
        return;
    // Leaving a full-screen mode keeps the picture's aspect-ratio mode as it is.
    if (settings_.CoversScreen()) {
        settings_.fullScreenMode = false;
        settings_.filledScreenMode = false;
        ApplyWindowMode();
    }
    const int w = video.width();
    const int h = video.height();
    const QSize size = PresetWindowSize(id, w, h, SkinMetrics::From(skinSet_));
    const double scale = PresetScale(id);
    const QSize border = size - QSize(int(w * scale), int(h * scale));
    Reshape(KeepOnScreen(QRect(geometry().topLeft(), size), border, AvailableScreenArea()));
}

// ---- Moving and sizing with the mouse

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
    if (manualDrag_) {
        if (event->buttons() & Qt::LeftButton)
            ContinueManualDrag(event->globalPosition().toPoint());
        else
            manualDrag_ = false;
        return;
    }
    if (settings_.CoversScreen())
        return;
    // The zone comes from the pointer's place on the screen, whichever child
    // reported the move (a child's own coordinates would mislead).
    const QPoint at = mapFromGlobal(event->globalPosition().toPoint());
    const HitZone zone = HitZoneAt(at.x(), at.y(), clientRect_);
    if (zone == HitZone::Interior || zone == HitZone::None)
        unsetCursor();
    else
        setCursor(CursorForZone(zone));
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton || settings_.CoversScreen())
        return;
    const QPoint at = mapFromGlobal(event->globalPosition().toPoint());
    const HitZone zone = HitZoneAt(at.x(), at.y(), clientRect_);
    if (zone == HitZone::None)
        return;
    if (zone != HitZone::Interior)
        setCursor(CursorForZone(zone));
    BeginMouseAction(zone, event->globalPosition().toPoint());
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        manualDrag_ = false;
}

void MainWindow::BeginMouseAction(HitZone zone, QPoint pressedAt)
{
    QWindow *window = windowHandle();
    const Qt::Edges edges = EdgesForZone(zone);
    const bool byWindowSystem =
        window && (zone == HitZone::Interior ? window->startSystemMove() : window->startSystemResize(edges));
    if (byWindowSystem)
        return;
    // No window manager to do it: follow the mouse by hand until the button is released.
    manualDrag_ = true;
    dragEdges_ = edges;
    // The drag is measured from where the button went down: the copy of the
    // press may arrive after the mouse has moved on.
    dragStart_ = pressedAt;
    dragGeometry_ = geometry();
}

void MainWindow::ContinueManualDrag(QPoint mouseAt)
{
    Reshape(DraggedGeometry(dragGeometry_, dragEdges_, mouseAt - dragStart_, minimumSize()));
}

} // namespace velmo
