#include "app/PlayerBus.h"

#include "app/FileFilters.h"
#include "app/MainWindow.h"
#include "player/Player.h"
#include "mpris/MprisService.h"
#include "mpris/MprisValues.h"
#include "mpris/ScreenSaverInhibitor.h"
#include "resources/CommandIds.h"

#include <QEvent>

namespace velmo {

PlayerBus::PlayerBus(MainWindow &window, Player &player, QDBusConnection bus)
    : window_(window), player_(player), inhibitor_(std::make_unique<mpris::ScreenSaverInhibitor>(bus))
{
    service_ = std::make_unique<mpris::MprisService>(*this, InstalledMimeTypes(), bus);
    connect(&player_, &Player::stateChanged, this, &PlayerBus::OnStateChanged);
    connect(&player_, &Player::positionJumped, this, [this] { service_->AnnounceSeek(); });
    connect(&player_, &Player::mediumInfoChanged, this, &PlayerBus::OnStateChanged);
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

bool PlayerBus::PictureIsPlaying() const
{
    return player_.State() == PlayState::Running && !player_.VideoSize().isEmpty() && !window_.isMinimized();
}

namespace {

mpris::PlayState BusState(PlayState state)
{
    switch (state) {
    case PlayState::Running: return mpris::PlayState::Playing;
    case PlayState::Paused: return mpris::PlayState::Paused;
    default: return mpris::PlayState::Stopped;
    }
}

} // namespace

mpris::PlayerSnapshot PlayerBus::Snapshot() const
{
    mpris::PlayerSnapshot s;
    const bool media = player_.HasMedium();
    s.playbackStatus = mpris::PlaybackStatusName(BusState(player_.State()));
    s.volume = mpris::VolumeFromSlider(player_.VolumePosition());
    s.trackId = mpris::TrackIdFor(media ? player_.MediumPath() : std::string());
    if (!media)
        return s;
    s.lengthUs = mpris::MicrosFromSeconds(player_.Duration());
    s.rate = player_.Rate();
    // The container's own title names the film better than its file name.
    const QString tagged = player_.MediumTitle();
    s.title = tagged.isEmpty() ? mpris::TitleFor(player_.MediumPath()) : tagged;
    s.url = mpris::UrlFor(player_.MediumPath());
    s.canPlay = true;
    s.canSeek = s.lengthUs > 0;
    // The list playing, or a local file's folder (an address has none), can
    // be stepped through; at either end the step says there is none.
    s.canGoNext = player_.CanStep();
    s.canGoPrevious = player_.CanStep();
    return s;
}

int64_t PlayerBus::PositionUs() const
{
    return player_.HasMedium() ? mpris::MicrosFromSeconds(player_.Position()) : 0;
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
    if (player_.HasMedium())
        window_.OnCommand(ID_PLAY_PAUSE);
}

void PlayerBus::Play()
{
    if (player_.HasMedium() && player_.State() != PlayState::Running)
        window_.OnCommand(ID_PLAY_PAUSE);
}

void PlayerBus::Pause()
{
    if (player_.State() == PlayState::Running)
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
    player_.SeekTo(mpris::SecondsFromMicros(position));
}

void PlayerBus::Open(const std::string &media)
{
    window_.OpenMedia(media);
}

void PlayerBus::SetRate(double rate)
{
    if (player_.HasMedium())
        player_.SetRate(rate);
}

void PlayerBus::SetVolumePosition(int position)
{
    player_.SetVolumePosition(position);
}

} // namespace velmo
