#include "controls/ControlPanel.h"

#include "controls/BitmapButton.h"
#include "controls/PanelParts.h"
#include "player/PlaybackRules.h"
#include "controls/SkinSlider.h"
#include "controls/TimeDisplay.h"
#include "screen/InputCopy.h"
#include "player/Player.h"
#include "resources/CommandIds.h"
#include "resources/TemplateWidgets.h"

#include <QPainter>

namespace velmo {

ControlPanel::ControlPanel(SkinSet &skin, Player &player, QWidget *parent)
    : ControlPanel(kControlPanelTemplate, skin, player, parent)
{
}

ControlPanel::ControlPanel(const DialogTemplate &t, SkinSet &skin, Player &player, QWidget *parent)
    : QWidget(parent), skin_(skin), player_(player)
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
    Follow();
}

ControlPanel::~ControlPanel() = default;

// Both panels show what the player reports, whatever raised it: the
// full-screen one is the one a user sees while the keys act in full screen.
void ControlPanel::Follow()
{
    connect(&player_, &Player::stateChanged, this, [this] {
        RefreshPlayButton();
        volumeSlider->SetPos(player_.VolumePosition());
        volumeSlider->update();
    });
    connect(&player_, &Player::ticked, this, &ControlPanel::UpdateTime);
    connect(&player_, &Player::timelineSet, this, [this](int percent) { timelineSlider->SetPos(percent); });
    connect(&player_, &Player::abRangeChanged, this, [this] {
        const auto [from, to] = player_.AbRange();
        timelineSlider->SetMarkedRange(from, to);
    });
    connect(&player_, &Player::opened, this, &ControlPanel::ResetDisplays);
    connect(&player_, &Player::closed, this, &ControlPanel::ResetDisplays);
    connect(&player_, &Player::mediumInfoChanged, this, &ControlPanel::ShowChapterTicks);
    volumeSlider->SetPos(player_.VolumePosition());
}

void ControlPanel::ResetDisplays()
{
    timelineSlider->SetPos(0);
    ShowChapterTicks();
    timeDisplay->SetText(QStringLiteral("00:00:00 / 00:00:00"));
    ShowPlayPicture();
    RefreshPlayButton();
}

void ControlPanel::ShowChapterTicks()
{
    std::vector<double> ticks;
    const double durationMs = player_.Duration() * 1000.0;
    if (durationMs > 0)
        for (const ChapterMark &chapter : player_.Chapters())
            ticks.push_back(double(chapter.startMs) / durationMs);
    timelineSlider->SetTicks(std::move(ticks));
}

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
    case IDC_PLAY: emit Command(ID_PLAY_PAUSE); break;
    case IDC_STOP: emit Command(ID_STOP); break;
    // The folder of the medium is the list the two step through.
    case IDC_PREV: emit Command(ID_PREV_FILE); break;
    case IDC_NEXT: emit Command(ID_NEXT_FILE); break;
    case IDC_OPEN: emit Command(ID_FILE_OPEN); break;
    case IDC_FULL_SCREEN: emit Command(ID_FULL_SCREEN); break;
    default: break;
    }
}

void ControlPanel::RefreshPlayButton()
{
    const PlayState state = player_.State();
    if (state == PlayState::Closed)
        return;
    if (state == PlayState::Stopped || state == PlayState::Paused) {
        playButton->SetImage(skin_.play);
        playButton->SetTooltipText(QStringLiteral("재생"));
    } else {
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
    // The value now, not the one posted: a later change may already be stored.
    player_.DragTo(timelineSlider->GetPos());
}

void ControlPanel::OnVolumeScroll(int code, int)
{
    if (code != TB_PAGEUP && code != TB_PAGEDOWN && code != TB_THUMBTRACK)
        return;
    player_.SetVolumePosition(volumeSlider->GetPos());
}

int ControlPanel::TimelinePosition() const { return timelineSlider->GetPos(); }

int ControlPanel::VolumePosition() const { return volumeSlider->GetPos(); }


// ---- Time

void ControlPanel::UpdateTime()
{
    if (!player_.HasMedium())
        return;
    const double position = player_.Position();
    const double duration = player_.Duration();
    const int current = timelineSlider->GetPos();
    const int advanced = AdvanceTimeline(current, position, duration);
    if (advanced > current)
        timelineSlider->SetPos(advanced);
    timeDisplay->SetText(TimeText(position, duration));
}

} // namespace velmo
