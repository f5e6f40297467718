// The player's heart: opening and closing a medium, the graph's events, the
// position timer and the state the views ask for.

#include "player/Player.h"

#include "engine/EventQueue.h"
#include "engine/MediaGraph.h"
#include "player/PlayerSettings.h"
#include "player/ResumeStore.h"
#include "subtitles/CaptionText.h"
#include "subtitles/CompanionSubtitle.h"
#include "text/MediaAddress.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <utility>

namespace velmo {

Q_LOGGING_CATEGORY(lcPlayer, "velmo.player")

Player::Player(std::shared_ptr<MediaBackend> backend, PlayerSettings &settings, const SubtitleStyle &look,
               QObject *parent)
    : Player(*new MediaGraph(std::move(backend)), settings, look, parent)
{
    ownGraph_.reset(&graph_);
}

Player::Player(MediaGraph &graph, PlayerSettings &settings, const SubtitleStyle &look, QObject *parent)
    : QObject(parent), graph_(graph), settings_(settings), look_(look)
{
    graph_.SetVolumeLevelSource(&settings_.volumeLevel);
    ticker_.setInterval(100);
    connect(&ticker_, &QTimer::timeout, this, &Player::OnTick);
    // The title bar's exit ends the program without a close: remember the medium then too.
    if (QCoreApplication::instance())
        connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, &Player::RememberPosition);
    LoadKeptList();
}

Player::~Player()
{
    // A change not yet written is kept all the same.
    if (listSave_.isActive())
        SaveKeptList();
    // A graph of its own goes with the player; a lent one stays as its owner left it.
    if (ownGraph_)
        graph_.Close();
}

void Player::AdoptPrefetch(PrefetchedMedia media)
{
    graph_.AdoptPrefetch(std::move(media));
}

// ---- Opening and closing

void Player::Open(const std::string &path)
{
    if (!IsAddress(path) && IsPlaylistFileName(path)) {
        OpenList(path);
        return;
    }
    // Which media were asked for, in order: what a support log and the system tests read.
    qCInfo(lcPlayer, "opening %s", path.c_str());
    RememberPosition(); // of the medium this open replaces
    ClearAbRepeat();
    const bool had = graph_.graph != nullptr;
    path_ = path;
    videoSize_ = QSize();
    opening_ = true;
    atEnd_ = false;
    pauseWhenOpened_ = false;
    // The list follows whatever opens: its entry is marked, another medium takes the list out of play.
    const std::optional<size_t> listed = list_.Current();
    list_.Follow(path);
    if (list_.Current() != listed)
        emit listPlayingChanged();
    const uint64_t serial = ++openSerial_;
    SetCaption({});
    const HResult begun = graph_.BeginOpen(pictureOwner_, path, this, [this, serial](HResult result) {
        if (serial == openSerial_)
            FinishOpen(result);
    });
    if (had)
        emit stateChanged(); // what played before is gone while this one opens
    if (Failed(begun))
        FinishOpen(begun);
}

void Player::FinishOpen(HResult result)
{
    opening_ = false;
    if (Failed(result)) {
        qCInfo(lcPlayer, "%s could not be opened: 0x%08x", path_.c_str(), static_cast<unsigned>(result));
        ticker_.stop();
        // Nothing is open: the views show what they show before any medium.
        emit closed();
        emit stateChanged();
        emit failed(QString::fromUtf8(kCodecMessage));
        return;
    }
    // The graph keeps the last picture's size for a medium without one: ask the medium itself.
    int32_t width = 0;
    int32_t height = 0;
    const bool picture = graph_.basicVideo && Succeeded(graph_.basicVideo->GetVideoSize(&width, &height));
    videoSize_ = picture && width > 0 && height > 0 ? QSize(width, height) : QSize();
    ticker_.start();
    emit opened(); // the window fits itself to the picture first
    ApplyCaptionState();
    ApplySoundState();
    OfferResume();
    captionFile_.clear();
    const std::string companion = FindCompanionSubtitle(path_);
    if (!companion.empty() && Succeeded(graph_.AddSubtitleFile(companion)))
        captionFile_ = companion;
    ChooseTracksAtOpen();
    // The list came round to its start: its first entry stands ready.
    if (std::exchange(pauseWhenOpened_, false) && graph_.control)
        graph_.control->Pause();
    emit stateChanged();
}

void Player::Close()
{
    if (opening_) {
        // The open under way is dropped: its end is never heard.
        ++openSerial_;
        opening_ = false;
    }
    if (graph_.graph)
        RememberPosition();
    graph_.Close();
    videoSize_ = QSize();
    atEnd_ = false;
    ticker_.stop();
    ClearAbRepeat();
    SetCaption({});
    emit closed();
    emit stateChanged();
}

bool Player::HasMedium() const
{
    return graph_.graph != nullptr;
}

bool Player::HasFolder() const
{
    return HasMedium() && !path_.empty() && !IsAddress(path_);
}

PlayState Player::State() const
{
    int32_t state = State_Stopped;
    if (!graph_.graph || !graph_.control || Failed(graph_.control->GetState(0, &state)))
        return graph_.graph ? PlayState::Stopped : PlayState::Closed;
    switch (state) {
    case State_Running: return PlayState::Running;
    case State_Paused: return PlayState::Paused;
    default: return PlayState::Stopped;
    }
}

// ---- The graph's events and the timer

bool Player::event(QEvent *event)
{
    if (event->type() == MediaEventType()) {
        DrainEvents();
        return true;
    }
    return QObject::event(event);
}

void Player::DrainEvents()
{
    int32_t code = 0;
    EventParam first;
    EventParam second;
    // The facet is read anew each time: a repeat replaces the graph in the middle of the drain.
    while (graph_.events && Succeeded(graph_.events->GetEvent(&code, &first, &second, 0))) {
        const std::shared_ptr<MediaEventEx> events = graph_.events;
        switch (code) {
        case EC_COMPLETE:
            OnComplete();
            break;
        case EC_ERRORABORT:
            // The graph has stopped; playback ends as at the end of the media,
            // without a repeat, and the buttons offer to play again.
            ticker_.stop();
            emit stateChanged();
            if (static_cast<HResult>(first.value) == VFW_E_TIMEOUT)
                emit message(QStringLiteral("연결이 끊겼습니다"), kConnectionLostMs);
            break;
        case EC_VIDEO_SIZE_CHANGED:
            // A size learnt after the open fits the window as the open would have.
            if (graph_.RefreshVideoSize()) {
                videoSize_ = QSize(graph_.videoWidth, graph_.videoHeight);
                emit videoSizeChanged(videoSize_);
            }
            break;
        case EC_OLE_EVENT:
            OnCaption(second.text);
            break;
        case EC_MEDIUM_INFO:
            emit mediumInfoChanged();
            break;
        default:
            break;
        }
        events->FreeEventParams(code, &first, &second);
        if (events != graph_.events)
            return; // the medium changed: what the old graph queued is gone with it
    }
}

void Player::OnComplete()
{
    if (settings_.repeatMode) {
        Open(std::string(path_));
        return;
    }
    emit ended();
    if (!graph_.graph)
        return; // whoever heard it closed the media
    if (list_.InPlay() ? PlayNextInList() : PlayNextInFolder())
        return;
    // The last picture stays, paused, so that every view offers to play
    // again; play then starts over.
    if (graph_.control)
        graph_.control->Pause();
    atEnd_ = true;
    emit stateChanged();
}

void Player::OnTick()
{
    RememberWhilePlaying();
    if (graph_.graph)
        emit ticked();
    CheckAbRepeat();
}

void Player::SetPictureArea(int x, int y, int width, int height)
{
    graph_.SetVideoRect(x, y, width, height);
}

// ---- The graph's filters

std::vector<std::string> Player::FilterNames() const
{
    if (Failed(graph_.CollectFilterNames()))
        return {};
    return {graph_.filterNames.begin(), graph_.filterNames.begin() + graph_.filterCount};
}

std::shared_ptr<FilterPages> Player::FilterPagesOf(const std::string &name) const
{
    return graph_.FilterPagesOf(name);
}

} // namespace velmo
