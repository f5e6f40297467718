#include "app/PlayerBus.h"

#include "app/MainWindow.h"
#include "app/PlayerApp.h"
#include "engine/GstHandles.h"
#include "engine/MediaGraph.h"
#include "mpris/MprisService.h"
#include "mpris/MprisValues.h"
#include "mpris/ScreenSaverInhibitor.h"
#include "resources/CommandIds.h"
#include "subtitles/SubtitleStyle.h"
#include "desktop/PlayableMimeTypes.h"

#include <QEvent>

#include <gst/gst.h>

namespace velmo {

namespace {

// The types the desktop entry announces, asked of the plugins installed here.
QStringList AnnouncedMimeTypes()
{
    QStringList types;
    const auto found = PlayableMimeTypes([](const std::string &factory) {
        return GstObjectPtr(GST_OBJECT(gst_element_factory_find(factory.c_str()))) != nullptr;
    });
    for (const std::string &type : found)
        types << QString::fromStdString(type);
    return types;
}

} // namespace

PlayerBus::PlayerBus(MainWindow &window, PlayerApp &app, QDBusConnection bus)
    : window_(window), graph_(app.mediaGraph), style_(app.subtitleStyle),
      inhibitor_(std::make_unique<mpris::ScreenSaverInhibitor>(bus))
{
    service_ = std::make_unique<mpris::MprisService>(*this, AnnouncedMimeTypes(), bus);
    connect(&window_, &MainWindow::PlayerStateChanged, this, &PlayerBus::OnStateChanged);
    connect(&window_, &MainWindow::PositionJumped, this, [this] { service_->AnnounceSeek(); });
    // Minimising (by the hide command or the window manager) releases the screen saver.
    window_.installEventFilter(this);
    OnStateChanged(); // a film may be playing already
}

PlayerBus::~PlayerBus()
{
    window_.removeEventFilter(this);
}

QString PlayerBus::ServiceName() const
{
    return service_->ServiceName();
}

bool PlayerBus::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::WindowStateChange)
        OnStateChanged();
    return QObject::eventFilter(watched, event);
}

void PlayerBus::OnStateChanged()
{
    service_->Refresh();
    inhibitor_->SetWanted(PictureIsPlaying());
}

int32_t PlayerBus::State() const
{
    int32_t state = State_Stopped;
    if (!graph_.graph || !graph_.control || Failed(graph_.control->GetState(0, &state)))
        return State_Stopped;
    return state;
}

bool PlayerBus::PictureIsPlaying() const
{
    int32_t width = 0;
    int32_t height = 0;
    return State() == State_Running && graph_.basicVideo &&
           Succeeded(graph_.basicVideo->GetVideoSize(&width, &height)) && !window_.isMinimized();
}

mpris::PlayerSnapshot PlayerBus::Snapshot() const
{
    mpris::PlayerSnapshot s;
    const bool media = graph_.graph != nullptr;
    const int32_t state = State(); // Stopped without media
    s.playbackStatus = mpris::PlaybackStatusName(state == State_Running ? mpris::PlayState::Playing
                                                 : state == State_Paused ? mpris::PlayState::Paused
                                                                         : mpris::PlayState::Stopped);
    s.volume = mpris::VolumeFromSlider((style_.volumeLevel + 10000) / 100);
    s.trackId = mpris::TrackIdFor(media ? graph_.mediaPath : std::string());
    if (!media)
        return s;
    double duration = 0.0;
    if (graph_.position && Succeeded(graph_.position->get_Duration(&duration)))
        s.lengthUs = mpris::MicrosFromSeconds(duration);
    double rate = 1.0;
    if (graph_.seeking && Succeeded(graph_.seeking->GetRate(&rate)))
        s.rate = rate;
    s.title = mpris::TitleFor(graph_.mediaPath);
    s.url = mpris::UrlFor(graph_.mediaPath);
    s.canPlay = true;
    s.canSeek = s.lengthUs > 0 && graph_.position != nullptr;
    // A local file can step to its folder's neighbours (an address cannot);
    // at the folder's ends the step says there is none.
    const bool local = graph_.graph && !graph_.mediaPath.empty() && graph_.mediaPath.find("://") == std::string::npos;
    s.canGoNext = local;
    s.canGoPrevious = local;
    return s;
}

int64_t PlayerBus::PositionUs() const
{
    double seconds = 0.0;
    if (!graph_.graph || !graph_.position || Failed(graph_.position->get_CurrentPosition(&seconds)))
        return 0;
    return mpris::MicrosFromSeconds(seconds);
}

void PlayerBus::Raise()
{
    if (window_.isMinimized())
        window_.showNormal(); // a hidden player comes back as the restore does
    window_.raise();
    window_.activateWindow();
}

void PlayerBus::Quit()
{
    // After the reply has gone out.
    QMetaObject::invokeMethod(&window_, [this] { window_.OnCommand(ID_EXIT); }, Qt::QueuedConnection);
}

void PlayerBus::PlayPause()
{
    if (graph_.graph)
        window_.OnCommand(ID_PLAY_PAUSE);
}

void PlayerBus::Play()
{
    if (graph_.graph && State() != State_Running)
        window_.OnCommand(ID_PLAY_PAUSE);
}

void PlayerBus::Pause()
{
    if (State() == State_Running)
        window_.OnCommand(ID_PLAY_PAUSE);
}

void PlayerBus::Stop()
{
    window_.OnCommand(ID_STOP);
}

void PlayerBus::Next()
{
    window_.OnCommand(ID_NEXT_FILE);
}

void PlayerBus::Previous()
{
    window_.OnCommand(ID_PREV_FILE);
}

void PlayerBus::SetPositionUs(int64_t position)
{
    window_.SeekTo(mpris::SecondsFromMicros(position));
}

void PlayerBus::Open(const std::string &media)
{
    window_.OpenMedia(media);
}

void PlayerBus::SetRate(double rate)
{
    if (!graph_.graph || !graph_.seeking)
        return;
    graph_.seeking->SetRate(rate);
    OnStateChanged();
}

void PlayerBus::SetVolumePosition(int position)
{
    window_.SetVolumePosition(position);
}

} // namespace velmo
