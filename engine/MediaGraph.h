#pragma once

#include "engine/MediaBackend.h"
#include "engine/MediaFacets.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>


namespace velmo {

/// The codec message the caller of BeginOpen shows when a medium cannot be
/// opened (the engine shows nothing itself).
extern const char *const kCodecMessage;

/// A medium whose graph was started ahead of its open (see PrefetchMedia).
struct PrefetchedMedia {
    std::string path;
    std::shared_ptr<GraphBuilder> graph;
    std::shared_ptr<BaseFilter> overlayMixer;
};

/// Starts building a graph for `path` on `backend` without waiting: GStreamer's
/// threads find and open the medium while the caller goes on (the program
/// makes its window meanwhile). Empty when the backend cannot begin early.
/// Nothing is shown or reported here; the open that adopts it does that.
PrefetchedMedia PrefetchMedia(MediaBackend &backend, const std::string &path);

/// The playback engine: opens one file or address at a time into a graph whose
/// picture goes to the owner (the video screen), routes the graph's events to
/// a notify object (the top-level window) as QEvent::User + WM_MEDIA_EVENT
/// (see MediaEventType), adds SAMI files to the open graph and lists its
/// filters. Media is open exactly when `graph` is not null; callers drive
/// transport, position, rate, volume and aspect ratio through the facets
/// directly. An open never holds the UI thread (see BeginOpen). Cheap to
/// construct: nothing is created before the first open. UI thread only.
class MediaGraph {
public:
    /// The end of an open: S_OK when the medium is ready and running, else why it failed.
    using OpenDone = std::function<void(HResult)>;

    /// `backend` makes the graphs; null means GStreamer (made at the first open).
    explicit MediaGraph(std::shared_ptr<MediaBackend> backend = nullptr);
    ~MediaGraph();
    MediaGraph(const MediaGraph &) = delete;
    MediaGraph &operator=(const MediaGraph &) = delete;

    /// Where the saved volume (hundredths of a dB) is read at each open; null reads 0.
    void SetVolumeLevelSource(const int32_t *volumeLevel) { volumeLevel_ = volumeLevel; }

    /// Begins opening `path` (a local path or an address with a scheme) with the picture shown in `owner`
    /// and the events sent to `notify` (null: owner), and returns at once: S_OK when begun, a failure when
    /// nothing could be begun (then `done` is never called). Any open media is closed first. `done` is called
    /// later, exactly once, on the UI thread from the event loop (never from inside BeginOpen), unless the open
    /// is superseded: a later BeginOpen, or a Close, cancels an open under way and its `done` is never called.
    /// Until `done(S_OK)` nothing is open: `graph` and every facet stay null (timers and other callers see a
    /// consistent "nothing playing yet"); `Opening()` is true meanwhile. On success, before `done`, it gives
    /// the picture to `owner` and the events to `notify`, sets the window style, puts the volume read once
    /// from the volume source, and runs. On failure it shows no message (the caller shows kCodecMessage)
    /// and leaves nothing open. `mediaPath` is set when the open begins.
    HResult BeginOpen(QObject *owner, const std::string &path, QObject *notify, OpenDone done);
    /// An open begun by BeginOpen is under way.
    bool Opening() const { return static_cast<bool>(opening_); }
    /// Keeps `media` for the next open: an open of the same path takes its
    /// graph as it stands instead of starting over; any other open, or a
    /// Close, discards it.
    void AdoptPrefetch(PrefetchedMedia media) { prefetched_ = std::move(media); }
    /// Cancels an open under way (its `done` is never called) and tears the
    /// graph down; the result of withdrawing the notify window (S_OK when
    /// nothing was open: nothing is touched then).
    HResult Close();
    /// Reads the picture's size anew into videoWidth/videoHeight (after
    /// EC_VIDEO_SIZE_CHANGED); true when it changed. A medium without a
    /// picture leaves them as they are.
    bool RefreshVideoSize();
    /// The picture fills (x, y, width, height) of the owner; nothing without media.
    void SetVideoRect(int32_t x, int32_t y, int32_t width, int32_t height);
    /// Relative seek by `delta` 100-ns units, clamped to 0 and the duration.
    HResult SeekBy(uint64_t delta, bool forward);
    /// Adds the captions of a caption file (SAMI, SubRip, WebVTT) to the open graph; negative when the
    /// file is refused or no media is open.
    HResult AddSubtitleFile(const std::string &path);
    /// The watch of the system's sound outputs, made at the first call
    /// (it asks nothing of the system until its first Devices()); null where
    /// the backend knows none.
    SoundDeviceWatch *SoundDevices();
    /// The finder of media's durations, made at the first call; null where
    /// the backend knows none.
    DurationProbe *Durations();
    /// Refills filterNames/filterCount (at most 15, enumeration order);
    /// E_NOINTERFACE without media.
    HResult CollectFilterNames();
    /// The property frame of the first filter called `name`, for the
    /// application to show; null when there is none or no media is open.
    std::shared_ptr<FilterPages> FilterPagesOf(const std::string &name);

    std::shared_ptr<GraphBuilder> graph;           ///< null exactly when no media is open
    std::shared_ptr<MediaControl> control;         ///< run, pause, stop, state
    std::shared_ptr<MediaEventEx> events;          ///< event queue and notify window
    std::shared_ptr<VideoWindow> videoWindow;      ///< where the picture goes
    std::shared_ptr<BasicVideo> basicVideo;        ///< native video size
    std::shared_ptr<BasicAudio> basicAudio;        ///< volume
    std::shared_ptr<MediaPosition> position;       ///< duration and position in seconds
    std::shared_ptr<MediaSeeking> seeking;         ///< 100-ns positions and rate
    std::shared_ptr<CaptionControl> captions;      ///< caption offset and language; null where the graph has none
    std::shared_ptr<StreamChoice> audioStreams; ///< the sound stream playing; null where the graph has none
    std::shared_ptr<FrameAccess> frames;           ///< frame steps and the picture at its own size; null where the graph has none
    std::shared_ptr<MediumInfo> medium;            ///< the title tag and the chapters; null where the graph has none
    std::shared_ptr<SoundOutput> sound;            ///< the sound's delay and output; null where the graph has none
    std::shared_ptr<MixerPinConfig> mixerPinConfig; ///< aspect-ratio mode; null when "Input0" was not found
    std::shared_ptr<BaseFilter> overlayMixer;      ///< the video output added as "Overlay Mixer"
    std::shared_ptr<MediaPin> mixerInputPin;       ///< the output's pin "Input0"
    int32_t videoWidth = 0;                        ///< native video width; kept when a medium has no video
    int32_t videoHeight = 0;                       ///< native video height; kept likewise
    std::string mediaPath;                         ///< the path or address of the open begun last
    bool subtitleLoaded = false;                   ///< a subtitle file was added to the current graph
    std::array<std::string, 15> filterNames;       ///< filter names for the menu
    int32_t filterCount = 0;                       ///< valid entries of filterNames (0..15)

private:
    /// An open under way: the graph being built and what its end needs.
    struct PendingOpen {
        std::shared_ptr<GraphBuilder> graph;
        std::shared_ptr<BaseFilter> overlayMixer;
        QPointer<QObject> owner;
        QPointer<QObject> notify;
        OpenDone done;
    };
    HResult BeginGraph(const std::shared_ptr<PendingOpen> &open, const std::string &path);
    void OnRendered(const std::shared_ptr<PendingOpen> &open, HResult rendered);
    HResult StartPlaying(PendingOpen &open);
    HResult Release();
    MediaBackend *Backend();

    std::shared_ptr<MediaBackend> backend_;
    PrefetchedMedia prefetched_;
    const int32_t *volumeLevel_ = nullptr;
    std::shared_ptr<PendingOpen> opening_; ///< the open under way; null when none
    std::unique_ptr<SoundDeviceWatch> soundDevices_; ///< made at the first SoundDevices()
    std::unique_ptr<DurationProbe> durations_;       ///< made at the first Durations()
};

} // namespace velmo
