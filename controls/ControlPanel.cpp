#include "controls/ControlPanel.h"

#include "controls/BitmapButton.h"
#include "controls/PanelParts.h"
#include "controls/PlaybackRules.h"
#include "controls/SkinSlider.h"
#include "controls/TimeDisplay.h"
#include "screen/InputCopy.h"
#include "engine/MediaGraph.h"
#include "resources/CommandIds.h"
#include "resources/TemplateWidgets.h"
#include "subtitles/SubtitleStyle.h"

#include <QPainter>

namespace velmo {

ControlPanel::ControlPanel(SkinSet &skin, MediaGraph &graph, SubtitleStyle &style, QWidget *parent)
    : ControlPanel(kControlPanelTemplate, skin, graph, style, parent)
{
}

ControlPanel::ControlPanel(const DialogTemplate &t, SkinSet &skin, MediaGraph &graph, SubtitleStyle &style,
                           QWidget *parent)
    : QWidget(parent), skin_(skin), graph_(graph), style_(style)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    const TemplateWidgets layout(t);
    resize(layout.Size());

    // Every control starts hidden at its template place; the skin decides the rest.
    const auto button = [&](int id, const SkinImage &image) {
        BitmapButton *b = MakeTemplateButton(this, layout.Rect(id), image);
        connect(b, &BitmapButton::clicked, this, [this, id] { OnButton(id); });
        return b;
    };
    timelineSlider = new SkinSlider(this);
    timelineSlider->setGeometry(layout.Rect(IDC_TIMELINE_SLIDER));
    timelineSlider->hide();
    volumeSlider = new SkinSlider(this);
    volumeSlider->setGeometry(layout.Rect(IDC_VOLUME_SLIDER));
    volumeSlider->hide();
    playButton = button(IDC_PLAY, skin.play);
    stopButton = button(IDC_STOP, skin.stop);
    prevButton = button(IDC_PREV, skin.prev);
    nextButton = button(IDC_NEXT, skin.next);
    openButton = button(IDC_OPEN, skin.open);
    fullScreenButton = button(IDC_FULL_SCREEN, skin.controlPanelFull);
    timeDisplay = new TimeDisplay(skin.time, this);
    timeDisplay->setGeometry(layout.Rect(IDC_TIME_DISPLAY));
    timeDisplay->hide();
    connect(timelineSlider, &SkinSlider::Scroll, this, &ControlPanel::OnTimelineScroll);
    connect(volumeSlider, &SkinSlider::Scroll, this, &ControlPanel::OnVolumeScroll);

    OnInitDialog();
}

ControlPanel::~ControlPanel() = default;

void ControlPanel::OnInitDialog()
{
    ShowSkinButton(playButton, skin_.play, "플레이");
    ShowSkinButton(stopButton, skin_.stop, "정지");
    ShowSkinButton(prevButton, skin_.prev, "이전목록");
    ShowSkinButton(nextButton, skin_.next, "다음목록");
    ShowSkinButton(openButton, skin_.open, "파일열기");
    // The sliders take their pictures at template size, so the thumb's height
    // in the slider is the template's, whatever the layout does later.
    if (skin_.timeline.shown) {
        timelineSlider->SetBitmaps(skin_.timeline, 0);
        timelineSlider->show();
    }
    ShowSkinButton(fullScreenButton, skin_.controlPanelFull, "전체화면");
    if (skin_.soundSlider.shown) {
        volumeSlider->SetBitmaps(skin_.soundSlider, 0);
        volumeSlider->show();
    }
    if (skin_.time.shown)
        timeDisplay->show();
    timelineSlider->SetRange(0, 100);
    volumeSlider->SetRange(0, 100);
    volumeSlider->SetPos(100);
    LayOut();
}

void ControlPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    LayOut();
}

void ControlPanel::LayOut()
{
    clientRect = {0, 0, width(), height()};
    const int cw = clientRect.width();
    const auto place = [](QWidget *w, int x, int y, int width, int height) {
        w->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    };
    const SkinSliderImages &sound = skin_.soundSlider;
    const SkinSliderImages &line = skin_.timeline;
    place(volumeSlider, cw - sound.x, sound.y, sound.width, sound.height);
    place(timelineSlider, line.x, line.y, cw - line.blank, line.height);
    // The play button keeps the play picture's size when it shows the pause picture.
    place(playButton, skin_.play.x, skin_.play.y, skin_.play.width / 3, skin_.play.height);
    for (auto [b, image] : {std::pair{stopButton, &skin_.stop}, std::pair{prevButton, &skin_.prev},
                            std::pair{nextButton, &skin_.next}, std::pair{openButton, &skin_.open}})
        place(b, image->x, image->y, image->width / 3, image->height);
    const SkinImage &full = skin_.controlPanelFull;
    place(fullScreenButton, cw - full.x, full.y, full.width / 3, full.height);
    const SkinTimeImages &time = skin_.time;
    place(timeDisplay, cw - time.x, time.y, time.x - time.blank, time.backInfo.height);
    update();
}

void ControlPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int cw = clientRect.width();
    PaintPanelBackground(painter, skin_.controlPanel, skin_.controlPanelLeft, skin_.controlPanelRight,
                         QRect(0, 0, cw, clientRect.height()), cw);
}

bool ControlPanel::event(QEvent *event)
{
    // Input that no control took reaches the main window, as over the picture.
    return ForwardInput(this, event) || QWidget::event(event);
}

// ---- Buttons

void ControlPanel::OnButton(int controlId)
{
    switch (controlId) {
    case IDC_PLAY:
        TogglePlayPause();
        RefreshPlayButton();
        emit PlayStateChanged();
        break;
    case IDC_STOP:
        if (graph_.graph && graph_.control) {
            graph_.control->Stop();
            RefreshPlayButton();
            emit PlayStateChanged();
        }
        break;
    case IDC_OPEN: emit Command(ID_FILE_OPEN); break;
    case IDC_FULL_SCREEN: emit Command(ID_FULL_SCREEN); break;
    default: break; // previous and next have nothing to go to
    }
}

void ControlPanel::TogglePlayPause()
{
    if (TogglePlayback(graph_))
        SetTimelinePosition(0);
}

void ControlPanel::RefreshPlayButton()
{
    if (!graph_.graph || !graph_.control)
        return;
    int32_t state = -1;
    if (Failed(graph_.control->GetState(0, &state)))
        return;
    if (state == State_Stopped || state == State_Paused) {
        playButton->SetImage(skin_.play);
        playButton->SetTooltipText(QStringLiteral("재생"));
    } else if (state == State_Running) {
        playButton->SetImage(skin_.pause);
        playButton->SetTooltipText(QStringLiteral("일시정지"));
    }
}

void ControlPanel::ShowPlayPicture()
{
    playButton->SetImage(skin_.play);
    playButton->SetTooltipText(QStringLiteral("재생"));
}

// ---- Sliders

void ControlPanel::OnTimelineScroll(int code, int)
{
    if (code != TB_PAGEUP && code != TB_PAGEDOWN && code != TB_THUMBTRACK)
        return;
    if (!graph_.graph || !graph_.position)
        return;
    double duration = 0.0;
    graph_.position->get_Duration(&duration);
    // The value now, not the one posted: a later change may already be stored.
    const double v = timelineSlider->GetPos();
    graph_.position->put_CurrentPosition(v * duration * 0.01);
    emit TimelineMoved();
}

void ControlPanel::OnVolumeScroll(int code, int)
{
    if (code != TB_PAGEUP && code != TB_PAGEDOWN && code != TB_THUMBTRACK)
        return;
    SetVolumeFromPosition(volumeSlider->GetPos(), style_, graph_);
    emit VolumeMoved();
}

int ControlPanel::TimelinePosition() const { return timelineSlider->GetPos(); }

void ControlPanel::SetTimelinePosition(int value)
{
    timelineSlider->SetPos(value);
}

void ControlPanel::SetMarkedRange(double from, double to)
{
    timelineSlider->SetMarkedRange(from, to);
}

int ControlPanel::VolumePosition() const { return volumeSlider->GetPos(); }

void ControlPanel::SetVolumePosition(int value)
{
    volumeSlider->SetPos(value);
}

void ControlPanel::InvalidateVolumeSlider()
{
    volumeSlider->update();
}

// ---- Time

void ControlPanel::UpdateTime()
{
    // The main window calls this only while a graph is held; without one there is no time to show.
    if (!graph_.graph || !graph_.position)
        return;
    double position = 0.0;
    double duration = 0.0;
    graph_.position->get_CurrentPosition(&position);
    graph_.position->get_Duration(&duration);
    const int current = timelineSlider->GetPos();
    const int advanced = AdvanceTimeline(current, position, duration);
    if (advanced > current)
        timelineSlider->SetPos(advanced);
    SetTimeText(TimeText(position, duration));
}

void ControlPanel::SetTimeText(const QString &text)
{
    timeDisplay->SetText(text);
}

} // namespace velmo
